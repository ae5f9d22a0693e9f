#include "screens/pulse_out/InOutViews.h"

#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "screens/skeleton/TextBoxes.h"
#include "screens/pulse_out/DiscreteRows.h"
#include "ui/Geometry.h"

namespace talvo::screens {

using ui::placeTwips;

namespace {

constexpr int kFirstRowY = 960, kRowPitch = 480, kBoxWidth = 975, kHeadingY = 600;

std::string firstChar(const std::string& v) { return v.substr(0, 1); }
std::string lastChar(const std::string& v) { return v.empty() ? v : v.substr(v.size() - 1); }

}  // namespace

InOutView::InOutView(const char* designCaption, int channels, QWidget* parent)
    : DiscreteView(designCaption, channels, parent) {
    placeTwips(fraDI, 600, 1200, 8175, 5295);
}

void InOutView::placeColumn(std::vector<QLineEdit*>& boxes, const char* name, int first, int last, int boxX,
                            int labelX) {
    boxes.resize(static_cast<std::size_t>(points()));
    for (int ch = first; ch <= last; ++ch) {
        QLineEdit* b = newPointBox();
        b->setObjectName(QString("%1%2").arg(name).arg(ch));
        const int y = kFirstRowY + kRowPitch * (ch - first);
        placeTwips(b, boxX, y, kBoxWidth, 345);
        boxes[static_cast<std::size_t>(ch - 1)] = b;
        if (labelX >= 0) newLabel(fraDI, QString("Ch. %1").arg(ch), labelX, y + 22, boxX - labelX - 60);
    }
}

void InOutView::heading(const char* text, int x) { newLabel(fraDI, text, x, kHeadingY, 900); }

// --- IK16 ---

frmIK16::frmIK16(QWidget* parent) : InOutView("K6-IK16", 16, parent) {
    placeColumn(txtDICh, "txtDICh", 1, 8, 1620, 780);
    placeColumn(txtDOCh, "txtDOCh", 1, 8, 2640);
    placeColumn(txtDICh, "txtDICh", 9, 16, 5340, 4500);
    placeColumn(txtDOCh, "txtDOCh", 9, 16, 6360);
    heading("DI", 1860);
    heading("DO", 2880);
    heading("DI", 5640);
    heading("DO", 6660);
}

DiscreteView::Point frmIK16::readPoint(int k) {
    QLineEdit* di = txtDICh[static_cast<std::size_t>(k - 1)];
    QLineEdit* out = txtDOCh[static_cast<std::size_t>(k - 1)];
    EmptyBox(di);
    EmptyBox(out);
    const std::string reply = ReadItem(3, "00", std::to_string(k + 9));
    if (reply.empty()) return Point::Failed;
    if (IsRefusal(reply)) return Point::Next;  // no state: the boxes stay empty
    const std::string v = TextAfterColon(reply);
    ShowState(di, firstChar(v));
    ShowState(out, lastChar(v));
    return Point::Next;
}

// --- JOV16 ---

frmJOV16::frmJOV16(QWidget* parent) : InOutView("K6-JOV16", 8, parent) {
    placeColumn(txtDICh, "txtDICh", 1, 8, 2940, 2100);
    placeColumn(txtDOCh, "txtDOCh", 1, 8, 4140);
    placeColumn(txtDOStatusCh, "txtDOStatusCh", 1, 8, 5340);
    heading("DI", 3180);
    heading("DO", 4380);
    heading("DO Status", 5280);
}

DiscreteView::Point frmJOV16::readPoint(int k) {
    const std::size_t i = static_cast<std::size_t>(k - 1);
    for (QLineEdit* b : {txtDICh[i], txtDOCh[i], txtDOStatusCh[i]}) EmptyBox(b);
    const std::string reply = ReadItem(3, "00", std::to_string(k + 9));
    if (reply.empty()) return Point::Failed;
    // Anything but three states (a refusal too) ends the pass; the channel stays empty.
    const std::vector<std::string> parts = SplitAtCommas(TextAfterColon(reply));
    if (IsRefusal(reply) || parts.size() != 3) return Point::EndPass;
    ShowState(txtDICh[i], parts[0]);
    ShowState(txtDOCh[i], parts[1]);
    ShowState(txtDOStatusCh[i], parts[2]);
    return Point::Next;
}

void frmJOV16::ShowChDataIO(int slot) { ShowJov16Cells(slot); }
void frmJOV16::setOverViewDataIO(int slot) { FillJov16Row(slot); }

// --- UJ8 ---

frmUJ8::frmUJ8(QWidget* parent) : InOutView("K6-UJ8", 8, parent) {
    placeColumn(txtDICh, "txtDICh", 1, 8, 3360, 2520);
    placeColumn(txtDOCh, "txtDOCh", 1, 8, 4380);
    heading("DI", 3600);
    heading("DO", 4620);
}

DiscreteView::Point frmUJ8::readPoint(int k) {
    const std::string reply = ReadItem(3, "00", std::to_string(k + 9));
    if (reply.empty()) return Point::Failed;
    if (IsRefusal(reply)) return Point::Next;  // no state: both boxes keep theirs
    const std::string v = TextAfterColon(reply);
    QLineEdit* di = txtDICh[static_cast<std::size_t>(k - 1)];
    EmptyBox(di);
    PauseMs(10);
    ShowState(di, lastChar(v));
    ShowState(txtDOCh[static_cast<std::size_t>(k - 1)], firstChar(v));
    return Point::Next;
}

void frmUJ8::ShowChDataIO(int slot) { ShowUj8Cells(slot); }
void frmUJ8::setOverViewDataIO(int slot) { FillUj8Row(slot); }

}  // namespace talvo::screens
