#include "shell/CommDialogs.h"

#include <map>

#include "core/Connection.h"
#include "core/Overview.h"

namespace talvo::shell {

namespace {
std::map<CommDialog, CommDialogRunner>& runners() {
    static std::map<CommDialog, CommDialogRunner> r;
    return r;
}
}  // namespace

void RegisterCommDialog(CommDialog kind, CommDialogRunner runner) { runners()[kind] = std::move(runner); }

bool RunCommDialog(CommDialog kind, QWidget* owner) {
    const auto it = runners().find(kind);
    if (it == runners().end() || !it->second) return false;
    // The dialog talks to the communication card: no slot is picked under it.
    CardListAway away;
    it->second(owner);
    return true;
}

bool SpecialDialogOf(const std::string& model, bool isMaster, CommDialog& kind) {
    const std::string tail = model.size() > 3 ? model.substr(3) : std::string();
    // A master card, and the one Ethernet model without settings, have no dialog.
    if (isMaster || StartsWith(tail, "OWHD")) return false;
    if (StartsWith(tail, "OW") || StartsWith(model, "K6-QA") || StartsWith(model, "HM3EX")) {
        kind = CommDialog::Ether;
        return true;
    }
    if (StartsWith(tail, "OP1") || StartsWith(tail, "OP2")) {
        kind = CommDialog::OP;
        return true;
    }
    const std::pair<const char*, CommDialog> own[] = {{"OXF1F", CommDialog::OXF1F}, {"OXF", CommDialog::OXF},
                                                      {"OG1", CommDialog::OG},     {"OVRT", CommDialog::OVRT},
                                                      {"QFODH", CommDialog::QFODH}};
    for (const auto& [stem, k] : own)
        if (StartsWith(tail, stem)) {
            kind = k;
            return true;
        }
    return false;
}

}  // namespace talvo::shell
