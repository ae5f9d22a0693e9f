#pragma once
// Which setting screen serves a card model, and how its opener starts it.
#include <string>

namespace talvo {

enum class TypeText { Code, PowerName, GatewayName };
// A: the entry method first, then card select and version read.
// B: card select, version and extra reads first, the entry method last.
enum class OpenOrder { A, B };

struct ScreenSpec {
    const char* opener;   // "OpenBW4Screen"
    const char* screen;   // "frmBW4"
    const char* code;     // screen code kept in CurFormType ("BW4"); "NONE" for the empty-slot screen
    TypeText typeText;
    bool showModelFrame;  // fraShowModel rather than fraSetModel
    bool stopTimer;       // the opener switches the screen's timer off before showing it
    const char* entry;    // "SetScaleMinMax", "YK4_Init", ...
    OpenOrder order;
};

// The screen for a model code: the first row whose test matches. nullptr when no
// row matches. "NON..." gives the empty-slot screen (code "NONE").
const ScreenSpec* DispatchCardType(const std::string& typeCode);

// The text the opener shows in the model frame and txtCardType.
std::string ScreenTypeText(const ScreenSpec& spec, const std::string& typeCode);

}  // namespace talvo
