#pragma once
// The live words of a slot behind one of the other gateway models: for each
// of 16 words its input value and its output value. No buttons and no requests.
#include <array>
#include <string>

#include "screens/skeleton/CardScreen.h"

namespace talvo::network {

class frmQx : public screens::CardScreen {
    Q_OBJECT
public:
    explicit frmQx(QWidget* parent = nullptr);
    void SetScaleMinMax(const std::string& typeCode) override;

private:
    void SetHexIndex(const std::string& typeCode);

    std::array<QLabel*, 16> hexIdx{};
    std::array<QLineEdit*, 16> txtParInData{};
    std::array<QLineEdit*, 16> txtParOutData{};
};

// The first row label's number of a type code: 16 (k - 1) for a last
// character k of 1 to 8, else 0.
int QxRowBase(const std::string& typeCode);

}  // namespace talvo::network
