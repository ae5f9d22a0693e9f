// Which screen a model code opens: every row of the dispatch table, in its order.
#include <gtest/gtest.h>

#include "core/CardDispatch.h"

using namespace talvo;

TEST(CardDispatch, EveryRowAndItsPrecedence) {
    const std::pair<std::string, std::string> cases[] = {
        {"QFODH1", "frmQFODHdata"}, {"QFODH1-3", "frmQFODHdata"}, {"QX-2", "frmQx"},  {"Q", "frmQx"},
        {"KR4", "frmKR4"},   {"KN4", "frmKR4"},   {"KC4", "frmKR4"},   {"KP4", "frmKR4"},   {"KM4", "frmKR4"},
        {"KR8", "frmKR8"},   {"KN8", "frmKR8"},   {"KC8", "frmKR8"},   {"KP8", "frmKR8"},   {"KM8", "frmKR8"},
        {"BW4", "frmBW4"},   {"BZ4", "frmBW4"},   {"JT4", "frmBW4"},   {"LQ4", "frmBW4"},   {"LF4", "frmBW4"},
        {"BW8", "frmBW8"},   {"BZ8", "frmBW8"},   {"JT8", "frmBW8"},   {"LQ8", "frmBW8"},   {"LF8", "frmBW8"},
        {"BW16", "frmBW16"}, {"BZ16", "frmBW16"}, {"FD4", "frmFD4"},   {"FW4", "frmFD4"},   {"FD8", "frmFD8"},
        {"IX4", "frmFD4"},   {"HG4", "frmHG4"},   {"UB4", "frmHG4"},   {"HG8", "frmHG8"},   {"HG8A", "frmHG8"},
        {"UB8", "frmHG8"},   {"EK4", "frmEK4"},   {"EK8", "frmEK8"},   {"JH8", "frmJO8"},   {"JO8", "frmJO8"},
        {"JO16", "frmJO16"}, {"JH16", "frmJO16"}, {"JO32", "frmJO32"}, {"JH32", "frmJO32"}, {"JO64", "frmJO64"},
        {"JH64", "frmJO64"}, {"JOV16", "frmJOV16"}, {"VU32", "frmVU32"}, {"VT32", "frmVU32"}, {"ZN2", "frmZN2"},
        {"FS2", "frmFS2"},   {"IY16", "frmIY16"}, {"IW16", "frmIY16"}, {"IY2", "frmIY2"},   {"IY4", "frmIY4"},
        {"IY4A", "frmIY4A"}, {"IY4B", "frmIY4A"}, {"IY4C", "frmIY4"},  {"IY8", "frmIY8"},   {"IK16", "frmIK16"},
        {"UJ8", "frmUJ8"},   {"GB40", "frmGB40"}, {"GB10", "frmGB10"}, {"GBH11232", "frmGBH"}, {"YK4", "frmYK4"},
        {"HQ2", "frmHQ2"},   {"LQN8", "frmLQN8"}, {"BWT8", "frmBWT8"}, {"XR4", "frmXR4"},   {"EAJ2", "frmEAJ2"},
        {"NONE", "frmNONE"},
        // Precedence: a longer code that an earlier row takes.
        {"KM8X", "frmKR8"},  {"LQ8", "frmBW8"},
    };
    for (const auto& [code, screen] : cases) {
        const ScreenSpec* s = DispatchCardType(code);
        ASSERT_NE(s, nullptr) << code;
        EXPECT_EQ(s->screen, screen) << code;
    }
    // "BWT8" is not a "BW8"; "LQN8" is not an "LQ8".
    EXPECT_STREQ(DispatchCardType("BWT8")->code, "BWT");
    EXPECT_STREQ(DispatchCardType("LQN8")->code, "LQN");
}

TEST(CardDispatch, CodesThatMatchNoRow) {
    for (const char* code : {"", "XX9", "bw4", "HQ1", "GB2", "IK2", "B", "UNKNOWN"})
        EXPECT_EQ(DispatchCardType(code), nullptr) << code;
}

TEST(CardDispatch, OpenerDetails) {
    struct Case {
        std::string code, screenCode;
        bool stop;
        OpenOrder order;
        std::string entry;
    };
    const Case cases[] = {
        {"BW4", "BW4", false, OpenOrder::A, "SetScaleMinMax"},  {"BW8", "BW8", false, OpenOrder::A, "SetScaleMinMax"},
        {"HG4", "HG4", true, OpenOrder::B, "SetScaleMinMax"},   {"BWT8", "BWT", true, OpenOrder::B, "SetScaleMinMax"},
        {"FD8", "FD8", true, OpenOrder::B, "SetScaleMinMax"},   {"KR4", "KR4", true, OpenOrder::A, "SetScaleMinMax"},
        {"YK4", "YK4", true, OpenOrder::B, "YK4_Init"},         {"HQ2", "HQ2", true, OpenOrder::B, "HQ2_Init"},
        {"LQN8", "LQN", true, OpenOrder::A, "SetScaleMinMax"},  {"QFODH1", "QFODH", true, OpenOrder::B, "QFODH_Init"},
    };
    for (const Case& c : cases) {
        const ScreenSpec* s = DispatchCardType(c.code);
        EXPECT_EQ(s->code, c.screenCode) << c.code;
        EXPECT_EQ(s->stopTimer, c.stop) << c.code;
        EXPECT_EQ(s->order, c.order) << c.code;
        EXPECT_EQ(s->entry, c.entry) << c.code;
    }
    EXPECT_EQ(ScreenTypeText(*DispatchCardType("QX-C"), "QX-C"), "QX(12)");
    EXPECT_EQ(ScreenTypeText(*DispatchCardType("QFODH1-3"), "QFODH1-3"), "QFODH1(3)");
    EXPECT_EQ(ScreenTypeText(*DispatchCardType("GBH11232"), "GBH11232"), "GBH1123/D(2)");
    EXPECT_EQ(ScreenTypeText(*DispatchCardType("BW4"), "BW4"), "BW4");
}
