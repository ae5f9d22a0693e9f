#include "ui/DialogBoxes.h"

#include <QEvent>
#include <QTimer>
#include <QValidator>
#include <algorithm>

#include "core/Colors.h"
#include "core/KeyFilters.h"
#include "core/TextHelpers.h"
#include "ui/DialogValues.h"
#include "ui/Geometry.h"

namespace talvo::ui {

namespace {

// Sees each edit before the box takes it: the characters the edit adds (the
// part between what stays in front and what stays behind) must each pass the
// filter where they go in; characters removed need no check.
// The box already holds the edited text when its validator runs, so the
// validator keeps the text as it stood after the last change the box took.
class FilterValidator : public QValidator {
public:
    FilterValidator(QLineEdit* box, KeyFilter filter) : QValidator(box), filter_(filter), before_(box->text()) {
        connect(box, &QLineEdit::textChanged, this, [this](const QString& t) { before_ = t; });
    }

    State validate(QString& input, int& /*pos*/) const override {
        for (const QChar c : input)
            if (!IsSingleByteChar(c.unicode())) return Invalid;
        if (!filter_) return Acceptable;
        const QString& before = before_;
        qsizetype head = 0;
        while (head < before.size() && head < input.size() && before[head] == input[head]) ++head;
        qsizetype tail = 0;
        while (tail < before.size() - head && tail < input.size() - head &&
               before[before.size() - 1 - tail] == input[input.size() - 1 - tail])
            ++tail;
        // The text as it stands when each new character goes in: what stayed in
        // front, the new characters so far, what stays behind.
        std::string sofar = before.left(head).toLatin1().toStdString();
        const std::string behind = before.right(tail).toLatin1().toStdString();
        for (qsizetype i = head; i < input.size() - tail; ++i) {
            const char16_t c = input[i].unicode();
            if (!filter_(sofar + behind, static_cast<int>(sofar.size()), c)) return Invalid;
            sofar += static_cast<char>(c);
        }
        return Acceptable;
    }

private:
    KeyFilter filter_;
    QString before_;
};

class SelectAllOnEnter : public QObject {
public:
    explicit SelectAllOnEnter(QLineEdit* box) : QObject(box), box_(box) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::FocusIn)
            // After the click that gave the focus has placed the caret; not when
            // the focus has gone on meanwhile (a failed check sent it back to its
            // box), or the box would show a selection that typing does not reach.
            QTimer::singleShot(0, box_, [b = box_] {
                if (b->hasFocus()) b->selectAll();
            });
        return false;
    }

private:
    QLineEdit* box_;
};

}  // namespace

void FilterKeys(QLineEdit* box, KeyFilter filter) { box->setValidator(new FilterValidator(box, filter)); }

void SelectAllOnFocus(QLineEdit* box) { box->installEventFilter(new SelectAllOnEnter(box)); }

std::string text(const QLineEdit* box) { return box->text().toLatin1().toStdString(); }

void setText(QLineEdit* box, const std::string& t) {
    box->setText(QString::fromLatin1(t.data(), static_cast<qsizetype>(t.size())));
}

void DottedAddress::set(const std::string& address) const {
    std::string p4, p3, p2, p1;
    SplitDottedAddress(address, p4, p3, p2, p1);
    setText(boxes[3], p1);
    setText(boxes[2], p2);
    setText(boxes[1], p3);
    setText(boxes[0], p4);
}

std::string DottedAddress::text() const {
    return ui::text(boxes[3]) + "." + ui::text(boxes[2]) + "." + ui::text(boxes[1]) + "." + ui::text(boxes[0]);
}

QLineEdit* DottedAddress::firstEmpty() const {
    for (int i = 3; i >= 0; --i)
        if (boxes[static_cast<std::size_t>(i)]->text().isEmpty()) return boxes[static_cast<std::size_t>(i)];
    return nullptr;
}

}  // namespace talvo::ui

namespace talvo::ui {

QLineEdit* MakeDisplayOnly(QLineEdit* box) {
    box->setEnabled(true);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    setBackColor(box, colors::SysButtonFace);
    QPalette p = box->palette();
    p.setColor(QPalette::Text, p.color(QPalette::WindowText));
    box->setPalette(p);
    return box;
}

}  // namespace talvo::ui
