#pragma once
// The communication card's dialogs behind "Setting" and "SpecialSetting". The
// dialogs live with the card screens; the main window only knows them by kind,
// and each kind's dialog is made known here when the program starts.
#include <functional>
#include <string>

class QWidget;

namespace talvo::shell {

enum class CommDialog { Comm, Ether, OP, OVRT, QFODH, OXF1F, OXF, OG };

// Runs the dialog of a kind over the owner: its first read (where it has one),
// then modally. Registering a kind again replaces it.
using CommDialogRunner = std::function<void(QWidget* owner)>;
void RegisterCommDialog(CommDialog kind, CommDialogRunner runner);
// False when no dialog of that kind is known (nothing is shown).
bool RunCommDialog(CommDialog kind, QWidget* owner);

// The dialog "SpecialSetting" opens for a communication card model, if any:
// the Ethernet dialog for "OW" models (not "OWHD") and "K6-QA" and "HM3EX",
// unless the card is a master; the fieldbus dialog for "OP1" and "OP2";
// "OXF1F", "OXF", "OG1", "OVRT" and "QFODH" each their own.
bool SpecialDialogOf(const std::string& model, bool isMaster, CommDialog& kind);

}  // namespace talvo::shell
