#pragma once
// The scaled input cards with 4 and 8 channels: per channel a scale pair, an
// adjust pair and the Unused flag, and the live value.
#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class ScaledInputScreen : public CardScreen {
    Q_OBJECT
public:
    ScaledInputScreen(int channels, const char* model, QWidget* parent = nullptr);

    std::vector<QLineEdit*> txtZScale, txtFScale, txtBias, txtGain, txtEnable, txtParData;

private:
    void layoutFrames();  // 4 channels: one frame per channel
    void layoutTable();   // 8 channels: one row per channel
};

// "BW4", "BZ4", "JT4", "LQ4", "LF4".
class frmBW4 : public ScaledInputScreen {
    Q_OBJECT
public:
    explicit frmBW4(QWidget* parent = nullptr);
};

// "BW8", "BZ8", "JT8", "LQ8", "LF8". Its cycle rests while the window is not active.
class frmBW8 : public ScaledInputScreen {
    Q_OBJECT
public:
    explicit frmBW8(QWidget* parent = nullptr);
};

}  // namespace talvo::screens
