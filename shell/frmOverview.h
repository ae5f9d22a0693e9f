#pragma once
// The overview of all 16 slots: one row per slot with its number, I/O kind, model
// name and live cells (8 values, 4 wide values or up to 32 lamps). It draws the
// core's overview model and redraws a row whenever the model says it changed.
#include <QWidget>
#include <array>

#include "shell/ChildForms.h"

class QGroupBox;
class QLabel;

namespace talvo::shell {

class OverviewCellLabel;

// How an overview cell draws its value: whole, at the font's own width when
// that fits the cell, otherwise narrowed just enough to fit, down to
// kNarrowestCellText of its width; only a value too long even then is cut
// after a whole character and ends in an ellipsis.
struct CellText {
    QString text;
    double narrowing = 1.0;  // 1.0: the font's own width
};
inline constexpr double kNarrowestCellText = 0.5;
CellText LayOutCellText(const QLabel* cell);
// The text a cell shows (whole, or cut with an ellipsis).
QString ShownCellText(const QLabel* cell);

class frmOverview : public QWidget, public ChildScreen {
    Q_OBJECT
public:
    explicit frmOverview(QWidget* parent = nullptr);
    ~frmOverview() override;

    // Lays out every row from the card records; run each time the screen is shown.
    void formActivate() override;
    // Draws one row (1..16) from the model.
    void redrawRow(int slot);

    // The cells of a row, slot 1..16, k from 1; nullptr outside the ranges.
    QLabel* unitNo(int slot) const;
    QLabel* cardStatus(int slot) const;
    QLabel* cardType(int slot) const;
    QLabel* inputDataCh(int slot, int k) const;
    QLabel* inputDataLCh(int slot, int k) const;
    QLabel* diDataCh(int slot, int k) const;

private:
    struct RowCells {
        QLabel* unitNo = nullptr;
        OverviewCellLabel* status = nullptr;
        OverviewCellLabel* type = nullptr;
        std::array<OverviewCellLabel*, 8> values{};
        std::array<OverviewCellLabel*, 4> wide{};
        std::array<OverviewCellLabel*, 32> lamps{};
    };
    void buildHeader();
    void buildRow(int slot);
    const RowCells* cells(int slot) const;

    QGroupBox* frame_ = nullptr;
    std::array<RowCells, 16> rows_{};
};

}  // namespace talvo::shell
