#pragma once
// The live values of a slot behind the SLMP gateway: the slot's I/O type and
// channel count, read once on entry, then each channel's value every cycle.
// No buttons and no requests; the cycle stops when another screen of the
// client area takes this one's place.
#include <array>
#include <string>

#include "screens/skeleton/CardScreen.h"

namespace talvo::network {

class frmQFODHdata : public screens::CardScreen {
    Q_OBJECT
public:
    explicit frmQFODHdata(QWidget* parent = nullptr);

    // The entry: the slot's layout, then the cycle with a tick at once.
    void SetScaleMinMax(const std::string& typeCode) override;
    void QFODH_Init(const std::string& typeCode) { SetScaleMinMax(typeCode); }

    int channelCount() const { return channels_; }

private:
    QLineEdit* cardType;
    QLineEdit* ChNo;
    QLabel* txtTitle;
    std::array<QLineEdit*, 16> txtData{};  // txtData(1) at 0
    int channels_ = 0;
};

// The gateway slot index of a gateway card name: "QFODH1(3)" gives 3,
// "QFODH1(12)" 12 (the eighth, and ninth, characters); a name of another
// length gives 1; characters that are no number give 0.
int GatewaySlotIndex(const std::string& name);
// The channel count of a "type,count" layout reply: a whole number 0 to 16,
// anything else 0.
int LayoutChannelCount(const std::string& field);

}  // namespace talvo::network
