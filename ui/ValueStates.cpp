#include "ui/ValueStates.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include "core/Protocol.h"

namespace talvo::ui {

Held ValueStates::of(const ValueKey& k, const std::string& recordText) const {
    const auto it = states_.find(k);
    if (it != states_.end()) return it->second;
    return recordText.empty() ? Held::NotRead : Held::Value;
}

Held ValueStates::of(const ValueKey& k) const {
    const auto it = states_.find(k);
    return it == states_.end() ? Held::NotRead : it->second;
}

void ValueStates::set(const ValueKey& k, Held held) { states_[k] = held; }

void ValueStates::loaded(const ValueKey& k, bool given) {
    if (given)
        set(k, Held::Value);
    else if (of(k) != Held::Needless)
        set(k, Held::NotRead);
}

Held ValueStates::read(const ValueKey& k, const std::string& reply) {
    if (reply.empty()) return of(k);
    const Held h = HeldOfReply(reply);
    set(k, h);
    return h;
}

void ValueStates::forgetSlot(int slot) {
    for (auto it = states_.begin(); it != states_.end();) {
        if (it->first.slot == slot)
            it = states_.erase(it);
        else
            ++it;
    }
}

ValueStates& Values() {
    static ValueStates v;
    return v;
}

Held HeldOfReply(const std::string& reply) {
    if (reply == "CNG") return Held::Refused;
    if (reply == "NEEDLESS") return Held::Needless;
    return Held::Value;
}

void OnUserEdit(QWidget* control, QObject* context, std::function<void()> edited) {
    if (!control) return;
    const auto watch = [&](QWidget* w) {
        if (auto* box = qobject_cast<QLineEdit*>(w))
            QObject::connect(box, &QLineEdit::textEdited, context, edited);
        else if (auto* list = qobject_cast<QComboBox*>(w))
            QObject::connect(list, &QComboBox::activated, context, edited);
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            QObject::connect(button, &QAbstractButton::clicked, context, edited);
    };
    watch(control);
    // The box of a list the user may type into: picking an entry edits it too.
    auto* list = qobject_cast<QComboBox*>(control->parentWidget());
    if (list && list->lineEdit() == control) watch(list);
    // A list the user may type into: typing edits it too.
    if (auto* own = qobject_cast<QComboBox*>(control); own && own->lineEdit()) watch(own->lineEdit());
    // A frame of options: each of them.
    if (!qobject_cast<QLineEdit*>(control) && !qobject_cast<QComboBox*>(control) &&
        !qobject_cast<QAbstractButton*>(control))
        for (QAbstractButton* b : control->findChildren<QAbstractButton*>()) watch(b);
}

}  // namespace talvo::ui
