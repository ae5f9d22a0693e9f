#include "screens/skeleton/TextBoxes.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QValidator>

#include "core/Colors.h"
#include "core/KeyFilters.h"
#include "core/TextHelpers.h"
#include "ui/DialogBoxes.h"
#include "ui/DialogValues.h"
#include "ui/Geometry.h"

namespace talvo::screens {

namespace {

class KeyFilterHandler : public QObject {
public:
    KeyFilterHandler(QLineEdit* box, KeyFilter filter) : QObject(box), box_(box), filter_(filter) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress || !filter_) return false;
        auto* k = static_cast<QKeyEvent*>(e);
        const QString t = k->text();
        if (k->key() == Qt::Key_Backspace || t.isEmpty()) return false;
        // Keys that only move about or confirm pass; other control characters
        // (the paste and cut shortcuts among them) are keys like any other and
        // the filters discard them.
        const char16_t first = t.at(0).unicode();
        if (first == u'\t' || first == u'\r' || first == u'\n' || first == 0x1b) return false;
        // With text selected the caret stands where the selection starts, so a
        // "-" typed over a selected entry is taken at position 0.
        const int caret = box_->hasSelectedText() ? box_->selectionStart() : box_->cursorPosition();
        for (const QChar c : t)
            if (!filter_(boxText(box_), caret, c.unicode())) return true;
        return false;
    }

private:
    QLineEdit* box_;
    KeyFilter filter_;
};

// A box's edits go through its validator whichever way they come; an edit it
// finds invalid is undone at once, before the box reports any change.
class SingleByteValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override {
        for (const QChar c : input)
            if (!IsSingleByteChar(c.unicode())) return Invalid;
        return Acceptable;
    }
};

// Discards a typed key that would make the text longer than the limit.
class TypedLengthLimit : public QObject {
public:
    TypedLengthLimit(QLineEdit* box, int maxLength) : QObject(box), box_(box), max_(maxLength) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        const QString t = static_cast<QKeyEvent*>(e)->text();
        if (t.isEmpty() || t.at(0).unicode() < 0x20) return false;  // moves, backspace, shortcuts
        const qsizetype after = box_->text().size() - box_->selectedText().size() + t.size();
        return after > max_ && after > box_->text().size();
    }

private:
    QLineEdit* box_;
    int max_;
};

}  // namespace

void InstallBoxHandlers(QLineEdit* box, KeyFilter filter) {
    GuardSingleByteText(box);
    ui::SelectAllOnFocus(box);
    box->installEventFilter(new KeyFilterHandler(box, filter));
}

void GuardSingleByteText(QLineEdit* box) {
    if (box->validator() == nullptr) box->setValidator(new SingleByteValidator(box));
}

void LimitTypedLength(QLineEdit* box, int maxLength) { box->installEventFilter(new TypedLengthLimit(box, maxLength)); }

void GuardAllBoxes(QWidget* root) {
    for (QLineEdit* box : root->findChildren<QLineEdit*>()) GuardSingleByteText(box);
}

void ShowBitText(QLineEdit* box, const std::string& value) {
    const BitText b = BitTextFor(value);
    setBoxText(box, b.text);
    ui::setBackColor(box, b.color);
    // Black on the red and the dark green is hard to read. A box drawn as
    // holding no value keeps its grey: it gets the white back with a value.
    if (!ui::DrawnUnread(box)) ui::setForeColor(box, colors::White);
}

void SelectAllText(QLineEdit* box) { box->setSelection(0, static_cast<int>(box->text().size())); }

std::string boxText(const QLineEdit* box) { return ui::text(box); }

void setBoxText(QLineEdit* box, const std::string& text) { ui::setText(box, text); }

QLineEdit* newLockedBox(QWidget* parent) {
    auto* b = new QLineEdit(parent);
    b->setReadOnly(true);
    b->setFocusPolicy(Qt::ClickFocus);
    GuardSingleByteText(b);
    return b;
}

QLineEdit* newGreyDisplayBox(QWidget* parent) { return ui::MakeDisplayOnly(newLockedBox(parent)); }

QLineEdit* newSettingBox(QWidget* parent, KeyFilter filter, int maxLength) {
    auto* b = new QLineEdit(parent);
    if (maxLength > 0) b->setMaxLength(maxLength);
    InstallBoxHandlers(b, filter);
    return b;
}

}  // namespace talvo::screens
