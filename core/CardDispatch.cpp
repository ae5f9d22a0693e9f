#include "core/CardDispatch.h"

#include <initializer_list>

#include "core/Overview.h"

namespace talvo {

namespace {

using T = TypeText;
using O = OpenOrder;

// The openers, one per screen.
const ScreenSpec kVU32{"OpenVU32Screen", "frmVU32", "VU32", T::Code, false, false, "SetScaleMinMax", O::A};
const ScreenSpec kKR4{"OpenKR4Screen", "frmKR4", "KR4", T::Code, false, true, "SetScaleMinMax", O::A};
const ScreenSpec kKR8{"OpenKR8Screen", "frmKR8", "KR8", T::Code, false, true, "SetScaleMinMax", O::A};
const ScreenSpec kGB10{"OpenGB10Screen", "frmGB10", "GB10", T::Code, false, false, "SetScaleMinMax", O::A};
const ScreenSpec kGB40{"OpenGB40Screen", "frmGB40", "GB40", T::Code, false, false, "SetScaleMinMax", O::A};
const ScreenSpec kGBH{"OpenGBHScreen", "frmGBH", "GBH", T::PowerName, false, true, "SetScaleMinMax", O::A};
const ScreenSpec kIY16{"OpenIY16Screen", "frmIY16", "IY16", T::Code, false, false, "SetScaleMinMax", O::A};
const ScreenSpec kIY4{"OpenIY4Screen", "frmIY4", "IY4", T::Code, false, false, "SetScaleMinMax", O::A};
const ScreenSpec kIY2{"OpenIY2Screen", "frmIY2", "IY2", T::Code, false, false, "SetScaleMinMax", O::A};
const ScreenSpec kIY4A{"OpenIY4AScreen", "frmIY4A", "IY4A", T::Code, false, true, "SetScaleMinMax", O::B};
const ScreenSpec kIY8{"OpenIY8Screen", "frmIY8", "IY8", T::Code, false, false, "SetScaleMinMax", O::A};
const ScreenSpec kIK16{"OpenIK16Screen", "frmIK16", "IK16", T::Code, true, false, "SetScaleMinMax", O::B};
const ScreenSpec kZN2{"OpenZN2Screen", "frmZN2", "ZN2", T::Code, false, false, "SetScaleMinMax", O::A};
const ScreenSpec kFS2{"OpenFS2Screen", "frmFS2", "FS2", T::Code, false, false, "SetScaleMinMax", O::A};
const ScreenSpec kBW4{"OpenBW4Screen", "frmBW4", "BW4", T::Code, false, false, "SetScaleMinMax", O::A};
const ScreenSpec kBW8{"OpenBW8Screen", "frmBW8", "BW8", T::Code, false, false, "SetScaleMinMax", O::A};
const ScreenSpec kBW16{"OpenBW16Screen", "frmBW16", "BW16", T::Code, false, false, "SetScaleMinMax", O::A};
const ScreenSpec kQx{"OpenQxScreen", "frmQx", "Qx", T::GatewayName, false, false, "SetScaleMinMax", O::A};
const ScreenSpec kFD4{"OpenFD4Screen", "frmFD4", "FD4", T::Code, false, false, "SetScaleMinMax", O::A};
const ScreenSpec kFD8{"OpenFD8Screen", "frmFD8", "FD8", T::Code, false, true, "SetScaleMinMax", O::B};
const ScreenSpec kJO8{"OpenJO8Screen", "frmJO8", "JO8", T::Code, true, false, "SetScaleMinMax", O::B};
const ScreenSpec kJO16{"OpenJO16Screen", "frmJO16", "JO16", T::Code, true, false, "SetScaleMinMax", O::B};
const ScreenSpec kJO32{"OpenJO32Screen", "frmJO32", "JO32", T::Code, true, false, "SetScaleMinMax", O::B};
const ScreenSpec kJO64{"OpenJO64Screen", "frmJO64", "JO64", T::Code, true, false, "SetScaleMinMax", O::B};
const ScreenSpec kJOV16{"OpenJOV16Screen", "frmJOV16", "JOV16", T::Code, true, false, "SetScaleMinMax", O::B};
const ScreenSpec kHG4{"OpenHG4Screen", "frmHG4", "HG4", T::Code, false, true, "SetScaleMinMax", O::B};
const ScreenSpec kHG8{"OpenHG8Screen", "frmHG8", "HG8", T::Code, false, true, "SetScaleMinMax", O::B};
const ScreenSpec kEK4{"OpenEK4Screen", "frmEK4", "EK4", T::Code, false, false, "SetScaleMinMax", O::A};
const ScreenSpec kEK8{"OpenEK8Screen", "frmEK8", "EK8", T::Code, false, false, "SetScaleMinMax", O::A};
const ScreenSpec kUJ8{"OpenUJ8Screen", "frmUJ8", "UJ8", T::Code, true, false, "SetScaleMinMax", O::B};
const ScreenSpec kYK4{"OpenYK4Screen", "frmYK4", "YK4", T::Code, false, true, "YK4_Init", O::B};
const ScreenSpec kHQ2{"OpenHQ2Screen", "frmHQ2", "HQ2", T::Code, true, true, "HQ2_Init", O::B};
const ScreenSpec kLQN8{"OpenLQN8Screen", "frmLQN8", "LQN", T::Code, false, true, "SetScaleMinMax", O::A};
const ScreenSpec kBWT8{"OpenBWT8Screen", "frmBWT8", "BWT", T::Code, false, true, "SetScaleMinMax", O::B};
const ScreenSpec kXR4{"OpenXR4Screen", "frmXR4", "XR4", T::Code, false, true, "XR4_Init", O::B};
const ScreenSpec kEAJ2{"OpenEAJ2Screen", "frmEAJ2", "EAJ2", T::Code, false, true, "EAJ2_Init", O::B};
const ScreenSpec kQFODH{"OpenQFODHdataScreen", "frmQFODHdata", "QFODH", T::GatewayName, false, true, "QFODH_Init",
                        O::B};
const ScreenSpec kNONE{"", "frmNONE", "NONE", T::Code, false, false, "", O::A};

struct Row {
    std::initializer_list<const char*> prefixes;
    const ScreenSpec* spec;
};

// Tested in this order; the first row whose prefix matches decides.
const Row kRows[] = {
    {{"QFODH"}, &kQFODH},
    {{"Q"}, &kQx},
    {{"KR4", "KN4", "KC4", "KP4", "KM4"}, &kKR4},
    {{"KR8", "KN8", "KC8", "KP8", "KM8"}, &kKR8},
    {{"BW4", "BZ4", "JT4", "LQ4", "LF4"}, &kBW4},
    {{"BW8", "BZ8", "JT8", "LQ8", "LF8"}, &kBW8},
    {{"BW1", "BZ1"}, &kBW16},
    {{"FD4"}, &kFD4},
    {{"FW4"}, &kFD4},
    {{"FD8"}, &kFD8},
    {{"IX4"}, &kFD4},
    {{"HG4", "UB4"}, &kHG4},
    {{"HG8", "UB8"}, &kHG8},
    {{"EK4"}, &kEK4},
    {{"EK8"}, &kEK8},
    {{"JH8", "JO8"}, &kJO8},
    {{"JO1", "JH1"}, &kJO16},
    {{"JO3", "JH3"}, &kJO32},
    {{"JO6", "JH6"}, &kJO64},
    {{"JOV"}, &kJOV16},
    {{"VU3", "VT3"}, &kVU32},
    {{"ZN2"}, &kZN2},
    {{"FS2"}, &kFS2},
    {{"IY1", "IW1"}, &kIY16},
    {{"IY2"}, &kIY2},
    {{"IY4"}, nullptr},  // IY4A and IY4B have a screen of their own
    {{"IY8"}, &kIY8},
    {{"IK1"}, &kIK16},
    {{"UJ8"}, &kUJ8},
    {{"GB4"}, &kGB40},
    {{"GB1"}, &kGB10},
    {{"GBH"}, &kGBH},
    {{"YK4"}, &kYK4},
    {{"HQ2"}, &kHQ2},
    {{"LQN"}, &kLQN8},
    {{"BWT"}, &kBWT8},
    {{"XR4"}, &kXR4},
    {{"EAJ"}, &kEAJ2},
    {{"NON"}, &kNONE},
};

}  // namespace

const ScreenSpec* DispatchCardType(const std::string& t) {
    for (const Row& row : kRows) {
        for (const char* p : row.prefixes) {
            if (!StartsWith(t, p)) continue;
            if (row.spec) return row.spec;
            return StartsWith(t, "IY4A") || StartsWith(t, "IY4B") ? &kIY4A : &kIY4;
        }
    }
    return nullptr;
}

std::string ScreenTypeText(const ScreenSpec& spec, const std::string& t) {
    switch (spec.typeText) {
        case TypeText::PowerName: return GetPowerCardName(t);
        case TypeText::GatewayName: return GetGatewayCardName(t);
        case TypeText::Code: break;
    }
    return t;
}

}  // namespace talvo
