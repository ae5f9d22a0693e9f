#pragma once
// The 8-channel alarm input cards ("KR8", "KN8", "KC8", "KP8", "KM8"): the
// settings of the 4-channel cards for eight channels, and 32 alarm lamps. Eight
// channels of nine settings do not fit the record, so the four directions of a
// channel are kept together in one field, the direction text: directions 4, 3,
// 2, 1 in that order, one character each.
#include "screens/base_alarm_in/frmKR4.h"

namespace talvo::screens {

class frmKR8 : public AlarmInputScreen {
    Q_OBJECT
public:
    explicit frmKR8(QWidget* parent = nullptr);

protected:
    std::string storedText(const Setting& s, int ch, const CardRecord& rec) const override;
    void storeText(const Setting& s, int ch, CardRecord& rec, const std::string& text) override;
    void downloadExtra(Transfer& t) override;

private:
    int direction(const Setting& s) const;  // the alarm 1..4 whose direction s is; 0 for other settings
};

}  // namespace talvo::screens
