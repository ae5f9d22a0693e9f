#include "screens/pulse_out/DiscreteView.h"

#include "core/Colors.h"
#include "core/Globals.h"
#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "screens/skeleton/TextBoxes.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

DiscreteView::DiscreteView(const char* designCaption, int points, QWidget* parent)
    : CardScreen(designCaption, parent), points_(points) {
    // A pure view: nothing to upload or download.
    cmdUp->hide();
    cmdDown->hide();
    headerInFrame(240, 120, 9375, 6810);
    fraDI = new QGroupBox(body());
    fraDI->setObjectName("fraDI");
}

QLineEdit* DiscreteView::newPointBox() {
    QLineEdit* b = newLockedBox(fraDI);
    b->setAlignment(Qt::AlignCenter);
    ui::setBackColor(b, colors::SysMenu);
    return b;
}

void DiscreteView::ShowState(QLineEdit* box, const std::string& state) {
    const bool on = state == "1";
    ui::setForeColor(box, on ? colors::Red : colors::Green);
    setBoxText(box, on ? "ON" : "OFF");
    box->repaint();
}

void DiscreteView::EmptyBox(QLineEdit* box) {
    box->clear();
    box->repaint();
}

void DiscreteView::prepare(const std::string&) {
    if (CardRecord* rec = G().CardRecords.get(cardSlot())) {
        rec->CardType = boxText(txtCardType);
        stampVersion(*rec);
    }
}

void DiscreteView::procCycDataRead() {
    const std::string type = boxText(txtCardType);
    if (type == "NONE" || type == "UNKNOWN") return;
    const int slot = cardSlot();
    if (slot < 1 || slot > 16) return;
    // Points read from another card would pass for this one's.
    if (!SelectCard(slot)) {
        if (G().Connected) ReportLostLink();
        return;
    }
    WriteItem(3, "00", "01", "0");
    for (int k = 1; k <= points_; ++k) {
        // The user went to the card list: no further exchange this pass.
        if (G().CardListFocused) return;
        switch (readPoint(k)) {
            case Point::Next: break;
            case Point::EndPass: return;
            case Point::Failed:
                if (G().Connected) ReportLostLink();
                return;
        }
    }
}

DiscreteDataView::DiscreteDataView(const DiscreteDataLayout& l, QWidget* parent)
    : DiscreteView(l.design, l.points, parent), group_(l.group), pauseMs_(l.pauseMs) {
    placeTwips(fraDI, l.frameLeft, l.frameTop, l.frameWidth, 5295);
    auto* title = newLabel(fraDI, "Data", l.dataX, l.dataY, 1200);
    title->setObjectName("lblDataTitle");
    for (int k = 1; k <= l.points; ++k) {
        QLineEdit* b = newPointBox();
        b->setObjectName(QString("txtChData%1").arg(k));
        const int column = (k - 1) / l.pointsPerColumn, row = (k - 1) % l.pointsPerColumn;
        const auto [labelX, boxX] = l.columns[static_cast<std::size_t>(column)];
        const int y = l.firstRowY + 480 * row;
        placeTwips(b, boxX, y, l.boxWidth, 345);
        if (!l.headedColumns) newLabel(fraDI, QString("Ch. %1").arg(k), labelX, y + 22, boxX - labelX - 60);
        txtChData.push_back(b);
    }
    if (l.headedColumns) {
        for (std::size_t c = 0; c < l.columns.size(); ++c) {
            const int first = 8 * static_cast<int>(c) + 1;
            newLabel(fraDI, QString("%1 - %2").arg(first).arg(first + 7), l.columns[c].second, 840, l.boxWidth,
                     Qt::AlignHCenter);
        }
        for (int row = 1; row <= l.pointsPerColumn; ++row)
            newLabel(fraDI, QString::number(row), 120, l.firstRowY + 480 * (row - 1) + 22, 240);
    }
}

DiscreteView::Point DiscreteDataView::readPoint(int k) {
    const std::string reply = ReadItem(3, group_, std::to_string(k + 9));
    if (reply.empty()) return Point::Failed;
    // A refused read is no state: the box keeps what it showed.
    if (IsRefusal(reply)) return Point::Next;
    QLineEdit* b = txtChData[static_cast<std::size_t>(k - 1)];
    EmptyBox(b);
    PauseMs(pauseMs_);
    ShowState(b, TextAfterColon(reply));
    return Point::Next;
}

namespace {

const std::vector<std::pair<int, int>> kTwoColumns = {{1080, 1920}, {4800, 5640}};

std::vector<std::pair<int, int>> headedColumns() {
    std::vector<std::pair<int, int>> c;
    for (int i = 0; i < 8; ++i) c.push_back({0, 360 + 1080 * i});
    return c;
}

}  // namespace

frmJO8::frmJO8(QWidget* parent)
    : DiscreteDataView({"K6-JO8", 8, "00", 10, 600, 1200, 8175, 3600, 480, 975, kTwoColumns, 4, 1860, false}, parent) {}

frmJO16::frmJO16(QWidget* parent)
    : DiscreteDataView({"K6-JO16", 16, "00", 10, 600, 1200, 8175, 3600, 480, 975, kTwoColumns, 8, 1200, false},
                       parent) {}

frmJO32::frmJO32(QWidget* parent)
    : DiscreteDataView({"K6-JO32", 32, "01", 5, 600, 1320, 8175, 3600, 480, 975,
                        {{120, 840}, {2160, 2880}, {4200, 4920}, {6240, 6960}}, 8, 1200, false},
                       parent) {}

frmJO64::frmJO64(QWidget* parent)
    : DiscreteDataView({"K6-JO64", 64, "01", 5, 240, 1320, 8895, 4080, 240, 855, headedColumns(), 8, 1200, true},
                       parent) {}

}  // namespace talvo::screens
