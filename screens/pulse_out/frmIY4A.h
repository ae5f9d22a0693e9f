#pragma once
// The 4-channel pulse input cards IY4A and IY4B: per channel Min., Max., Edge,
// Th. Adjust and, from version value 5, the dividing ratio; three live values.
// From version value 10 the user may choose whether a download also clears the
// counters; before it every download does. The cycle runs every second.
#include <QCheckBox>

#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

// The version value: the version text without its first ".", its leading
// digits as a number ("0.4" -> 4, "1.0" -> 10, "" -> 0), compared with `at`
// whatever its length.
bool VersionAtLeast(const std::string& version, int at);

class frmIY4A : public CardScreen {
    Q_OBJECT
public:
    explicit frmIY4A(QWidget* parent = nullptr);

    bool IsVer5OrLater() const;
    bool IsVer10OrLater() const;
    // The dividing ratio is on the card from version value 5.
    int shownVariant() const override;
    // Whether the card answered its version: without it, whether the card has
    // the dividing ratio is not known (it is then neither read, emptied nor sent).
    bool variantKnown() const override;

    QCheckBox* CheckClear;
    // Channel 1..4 at 0..3.
    std::vector<QLineEdit*> txtMax, txtMin, txtDivide, txtEdge, txtThresh;
    std::vector<std::vector<QLineEdit*>> txtParData;  // per channel: Value_L, Value_H, third value

protected:
    void showSettingsExtra(const CardRecord& rec) override;
    void uploadExtra(Transfer& t) override;
    void downloadExtra(Transfer& t) override;

private:
    void showDivideState();
};

}  // namespace talvo::screens
