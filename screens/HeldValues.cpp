#include "screens/HeldValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyle>

namespace talvo::screens {

namespace {

constexpr const char* kUnread = "unread";
constexpr const char* kReadText = "readTextColor";
constexpr const char* kReadTip = "readToolTip";

// The text roles a box, a list or an option's caption draws with.
constexpr QPalette::ColorRole kTextRoles[] = {QPalette::Text, QPalette::ButtonText, QPalette::WindowText};

// Grey on a light face; a lighter grey on the red and green faces of the flags.
QColor unreadText(const QWidget* w) {
    const QPalette& p = w->palette();
    const QPalette::ColorRole face = qobject_cast<const QComboBox*>(w) ? QPalette::Button : QPalette::Base;
    return p.color(face).lightness() < 140 ? QColor(0xC0, 0xC0, 0xC0) : QColor(0x80, 0x80, 0x80);
}

// A style sheet that colours the widget (a coloured list) is polished again, so
// its rule for an unread list takes effect.
void repolish(QWidget* w) {
    if (w->styleSheet().isEmpty()) return;
    w->style()->unpolish(w);
    w->style()->polish(w);
}

}  // namespace

bool DrawnUnread(const QWidget* control) { return control && control->property(kUnread).toBool(); }

void DrawHeld(QWidget* control, Held held) {
    if (!control) return;
    const bool unread = held != Held::Value;
    const bool was = DrawnUnread(control);
    // Pointing at it tells why (an empty box looks alike either way).
    if (unread && !was) {
        control->setProperty(kReadTip, control->toolTip());
        control->setToolTip(held == Held::Refused ? QStringLiteral("Not read from the card: Download leaves it as it is")
                                                  : QStringLiteral("Not used by the card: Download leaves it as it is"));
    } else if (!unread && was) {
        control->setToolTip(control->property(kReadTip).toString());
    }
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        // A check box has no text to grey: it shows neither on nor off.
        const QSignalBlocker quiet(box);
        if (unread) {
            if (!was) control->setProperty(kReadText, box->isChecked());
            box->setTristate(true);
            box->setCheckState(Qt::PartiallyChecked);
        } else if (was) {
            box->setTristate(false);
            if (box->checkState() == Qt::PartiallyChecked) box->setChecked(control->property(kReadText).toBool());
        }
        control->setProperty(kUnread, unread);
        return;
    }
    QPalette p = control->palette();
    if (unread) {
        // What the text was drawn in, to be given back when a value comes.
        if (!was) control->setProperty(kReadText, p.color(QPalette::Text));
        const QColor grey = unreadText(control);
        for (QPalette::ColorRole r : kTextRoles) p.setColor(r, grey);
    } else if (was) {
        const QColor back = control->property(kReadText).value<QColor>();
        for (QPalette::ColorRole r : kTextRoles) p.setColor(r, back);
    } else {
        return;
    }
    control->setPalette(p);
    control->setProperty(kUnread, unread);
    repolish(control);
    control->update();
    // The box of a list the user may type into: the list is drawn alike.
    auto* list = qobject_cast<QComboBox*>(control->parentWidget());
    if (list && list->lineEdit() == control) {
        list->setProperty(kUnread, unread);
        repolish(list);
    }
}

void HeldValues::set(int slot, const void* key, int ch, Held held, const std::string& recordText) {
    const auto k = std::make_tuple(slot, key, ch);
    if (held == Held::Value)
        states_.erase(k);
    else
        states_[k] = State{held, recordText};
}

Held HeldValues::of(int slot, const void* key, int ch, const std::string& recordText) const {
    const auto it = states_.find(std::make_tuple(slot, key, ch));
    if (it == states_.end() || it->second.recordText != recordText) return Held::Value;
    return it->second.held;
}

}  // namespace talvo::screens
