#include "screens/TextBoxes.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

#include "core/TextHelpers.h"
#include "shell/Geometry.h"

namespace talvo::screens {

namespace {

class BoxHandlers : public QObject {
public:
    BoxHandlers(QLineEdit* box, KeyFilter filter) : QObject(box), box_(box), filter_(filter) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::FocusIn) {
            // After the click that gave the focus has placed the caret.
            QTimer::singleShot(0, box_, [b = box_] { SelectAllText(b); });
            return false;
        }
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

}  // namespace

void InstallBoxHandlers(QLineEdit* box, KeyFilter filter) { box->installEventFilter(new BoxHandlers(box, filter)); }

void ShowBitText(QLineEdit* box, const std::string& value) {
    const BitText b = BitTextFor(value);
    setBoxText(box, b.text);
    shell::setBackColor(box, b.color);
}

void SelectAllText(QLineEdit* box) { box->setSelection(0, static_cast<int>(box->text().size())); }

std::string boxText(const QLineEdit* box) { return box->text().toLatin1().toStdString(); }

void setBoxText(QLineEdit* box, const std::string& text) {
    box->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

QLabel* newLabel(QWidget* parent, const QString& text, int left, int top, int width, Qt::Alignment align) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(align | Qt::AlignVCenter);
    shell::placeTwips(l, left, top, width, 300);
    return l;
}

QLineEdit* newLockedBox(QWidget* parent) {
    auto* b = new QLineEdit(parent);
    b->setReadOnly(true);
    b->setFocusPolicy(Qt::ClickFocus);
    return b;
}

QLineEdit* newSettingBox(QWidget* parent, KeyFilter filter, int maxLength) {
    auto* b = new QLineEdit(parent);
    if (maxLength > 0) b->setMaxLength(maxLength);
    InstallBoxHandlers(b, filter);
    return b;
}

}  // namespace talvo::screens
