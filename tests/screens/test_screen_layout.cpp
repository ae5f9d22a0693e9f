// Card screens as the eye reads them: a row's number level with its boxes, a
// frame's first captions clear of its line, a column clear of its frame's edge.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionGroupBox>

#include "tests/screens/ScreenFixture.h"

using namespace talvo;

namespace {

class ScreenLayoutTest : public test::ScreenTest {};

QRect inWindow(const QWidget* w) { return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size()); }

// The old fault: the row numbers of BW8, HG8 and HG8A stood about 3 px above
// the texts of their boxes.
TEST_F(ScreenLayoutTest, RowNumbersStandLevelWithTheirBoxes) {
    for (const int slot : {2, 5, 6}) {  // BW8, HG8 and HG8A of the default station
        SCOPED_TRACE(slot);
        screens::CardScreen* s = pick(slot);
        ASSERT_NE(s, nullptr);
        settle(s);
        for (int n = 1; n <= 8; ++n) {
            SCOPED_TRACE(n);
            QLabel* number = nullptr;
            for (QLabel* l : s->findChildren<QLabel*>())
                if (l->isVisibleTo(s) && l->text() == QString::number(n) &&
                    (!number || inWindow(l).left() < inWindow(number).left()))
                    number = l;
            ASSERT_NE(number, nullptr);
            const QRect at = inWindow(number);
            // The first box to its right on the same row.
            QLineEdit* box = nullptr;
            for (QLineEdit* b : s->findChildren<QLineEdit*>()) {
                const QRect r = inWindow(b);
                const bool sameRow = r.bottom() >= at.top() && r.top() <= at.bottom();
                if (!b->isVisibleTo(s) || r.left() < at.right() || !sameRow) continue;
                if (!box || r.left() < inWindow(box).left()) box = b;
            }
            ASSERT_NE(box, nullptr);
            EXPECT_LE(std::abs(at.center().y() - inWindow(box).center().y()), 1)
                << "number " << at.top() << "-" << at.bottom() << ", box " << inWindow(box).top() << "-"
                << inWindow(box).bottom();
        }
    }
}

// The old fault: EK8's right column ended 1 px from its frame's edge.
TEST_F(ScreenLayoutTest, EightChannelPercentColumnsKeepTheirMarginOnBothSides) {
    screens::CardScreen* s = pick(9);  // EK8 of the default station
    ASSERT_NE(s, nullptr);
    settle(s);
    auto* frame = s->findChild<QGroupBox*>("fraCh1");
    ASSERT_NE(frame, nullptr);
    int left = frame->width(), right = 0;
    for (QWidget* w : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        left = std::min(left, w->geometry().left());
        right = std::max(right, w->geometry().right() + 1);
    }
    EXPECT_GE(frame->width() - right, left - 1) << "right margin " << frame->width() - right << ", left " << left;
}

}  // namespace
