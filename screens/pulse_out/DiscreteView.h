#pragma once
// The discrete cards' views: every point of the card as "ON" or "OFF", read point
// by point each cycle. They have no settings, no buttons and no requests; the
// skeleton's tick runs their live read. The data views JO8 to JO64 differ only
// in the table below; the in/out views (frmIK16, frmJOV16, frmUJ8) split each
// reply into the boxes of one channel.
#include <string>
#include <vector>

#include "screens/skeleton/CardScreen.h"

namespace talvo::screens {

class DiscreteView : public CardScreen {
    Q_OBJECT
public:
    DiscreteView(const char* designCaption, int points, QWidget* parent);

    // Selects the card with three writes, then reads point after point; a pass
    // stops before the next point once the card list has the focus.
    void procCycDataRead() override;

    int points() const { return points_; }
    // The frame of the point grid.
    QGroupBox* dataFrame() const { return fraDI; }

    // "ON" in red for the state "1", "OFF" in green for anything else.
    static void ShowState(QLineEdit* box, const std::string& state);
    static void EmptyBox(QLineEdit* box);

protected:
    enum class Point { Next, Failed, EndPass };
    // Reads point k (1..points) and shows it.
    virtual Point readPoint(int k) = 0;
    // The entry writes the model fields into the slot's record.
    void prepare(const std::string& typeCode) override;

    // A read-only point box in the grid frame.
    QLineEdit* newPointBox();

    QGroupBox* fraDI;

private:
    int points_;
};

// One member of the data views' family.
struct DiscreteDataLayout {
    const char* design;  // "K6-JO8"
    int points;
    const char* group;   // points are items 10, 11, .. of this group
    int pauseMs;         // each box stays empty this long before its new state
    int frameLeft, frameTop, frameWidth;  // of the point grid, in the model frame
    int dataX, dataY;    // the "Data" heading
    int boxWidth;
    std::vector<std::pair<int, int>> columns;  // per column of 8 (or 4) points: label x, box x
    int pointsPerColumn;
    int firstRowY;
    bool headedColumns;  // column headings "1 - 8" .. and row numbers, instead of "Ch. n" labels
};

class DiscreteDataView : public DiscreteView {
    Q_OBJECT
public:
    DiscreteDataView(const DiscreteDataLayout& layout, QWidget* parent);
    const std::string& group() const { return group_; }
    std::vector<QLineEdit*> txtChData;  // point 1..N at 0..N-1

protected:
    Point readPoint(int k) override;

private:
    std::string group_;
    int pauseMs_;
};

// "JO8", "JH8".
class frmJO8 : public DiscreteDataView {
    Q_OBJECT
public:
    explicit frmJO8(QWidget* parent = nullptr);
};

// "JO1", "JH1".
class frmJO16 : public DiscreteDataView {
    Q_OBJECT
public:
    explicit frmJO16(QWidget* parent = nullptr);
};

// "JO3", "JH3".
class frmJO32 : public DiscreteDataView {
    Q_OBJECT
public:
    explicit frmJO32(QWidget* parent = nullptr);
};

// "JO6", "JH6".
class frmJO64 : public DiscreteDataView {
    Q_OBJECT
public:
    explicit frmJO64(QWidget* parent = nullptr);
};

}  // namespace talvo::screens
