#pragma once
// The discrete in/out cards' views: per channel the input (DI) and the output
// (DO) as "ON" or "OFF", from one reply per channel. JOV16 and UJ8 also fill
// their slot's overview row during monitoring, shown or not.
#include <vector>

#include "screens/pulse_out/DiscreteRows.h"
#include "screens/pulse_out/DiscreteView.h"

namespace talvo::screens {

class InOutView : public DiscreteView {
    Q_OBJECT
public:
    InOutView(const char* designCaption, int channels, QWidget* parent);
    std::vector<QLineEdit*> txtDICh, txtDOCh;  // channel 1..N at 0..N-1

protected:
    // A column of boxes for channels first..last; with a label x, "Ch. n" left of them.
    void placeColumn(std::vector<QLineEdit*>& boxes, const char* name, int first, int last, int boxX, int labelX = -1);
    void heading(const char* text, int x);
};

// "IK1": 16 channels; a reply carries the input first and the output last.
class frmIK16 : public InOutView {
    Q_OBJECT
public:
    explicit frmIK16(QWidget* parent = nullptr);

protected:
    Point readPoint(int k) override;
};

// "JOV": 8 channels; a reply carries input, output and output status, comma-separated.
class frmJOV16 : public InOutView, public SelfFilledRow {
    Q_OBJECT
public:
    explicit frmJOV16(QWidget* parent = nullptr);
    std::vector<QLineEdit*> txtDOStatusCh;

    void ShowChDataIO(int slot) override;
    void setOverViewDataIO(int slot) override;

protected:
    Point readPoint(int k) override;
};

// "UJ8": 8 channels; a reply carries the output first and the input last.
class frmUJ8 : public InOutView, public SelfFilledRow {
    Q_OBJECT
public:
    explicit frmUJ8(QWidget* parent = nullptr);

    void ShowChDataIO(int slot) override;
    void setOverViewDataIO(int slot) override;

protected:
    Point readPoint(int k) override;
};

}  // namespace talvo::screens
