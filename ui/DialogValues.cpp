#include "ui/DialogValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>
#include <optional>

#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "platform/Services.h"
#include "ui/Geometry.h"

namespace talvo::ui {

namespace {

bool isValue(const std::string& reply) { return !reply.empty() && !IsRefusal(reply); }

constexpr const char* kUnread = "unread";
constexpr const char* kReadText = "readTextColor";
constexpr const char* kReadTip = "readToolTip";

// The text roles a box, a list or an option's caption draws with.
constexpr QPalette::ColorRole kTextRoles[] = {QPalette::Text, QPalette::ButtonText, QPalette::WindowText};
// The groups a control that can be used draws with; a disabled control keeps
// the style's own grey, whatever it holds.
constexpr QPalette::ColorGroup kLiveGroups[] = {QPalette::Active, QPalette::Inactive};

// Grey on a light face; a lighter grey on the red and green faces of the flags.
QColor unreadText(const QWidget* w) {
    const QPalette& p = w->palette();
    const QPalette::ColorRole face = qobject_cast<const QComboBox*>(w) ? QPalette::Button : QPalette::Base;
    return p.color(QPalette::Active, face).lightness() < 140 ? QColor(0xE0, 0xE0, 0xE0) : QColor(0x80, 0x80, 0x80);
}

// A coloured list draws its face by a style sheet with a rule of its own for
// an unread list: it is polished again so the rule takes effect. Other
// controls draw by their palette alone, which costs no polish.
void repolish(QWidget* w) {
    if (!w->property(kUnreadRule).toBool()) return;
    w->style()->unpolish(w);
    w->style()->polish(w);
}

QString tipFor(Held held) {
    return held == Held::Needless ? QStringLiteral("Not used by the card: Download leaves it as it is")
                                  : QStringLiteral("Not read from the card: Download leaves it as it is");
}

}  // namespace

bool DrawnUnread(const QWidget* control) { return control && control->property(kUnread).toBool(); }

void DrawHeld(QWidget* control, Held held) {
    if (!control) return;
    const bool unread = held != Held::Value;
    const bool was = DrawnUnread(control);
    // Pointing at it tells why (an empty box looks alike either way).
    if (unread) {
        if (!was) control->setProperty(kReadTip, control->toolTip());
        if (control->toolTip() != tipFor(held)) control->setToolTip(tipFor(held));
    } else if (was) {
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
    if (unread == was) return;
    QPalette p = control->palette();
    if (unread) {
        // What the text was drawn in, to be given back when a value comes; the
        // colours of a control that can be used, also when it is disabled now.
        control->setProperty(kReadText, p.color(QPalette::Active, QPalette::Text));
        const QColor grey = unreadText(control);
        for (QPalette::ColorGroup g : kLiveGroups)
            for (QPalette::ColorRole r : kTextRoles) p.setColor(g, r, grey);
    } else {
        const QColor back = control->property(kReadText).value<QColor>();
        for (QPalette::ColorGroup g : kLiveGroups)
            for (QPalette::ColorRole r : kTextRoles) p.setColor(g, r, back);
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

// ---- controls bound to a setting ----

namespace {

constexpr const char* kKeySlot = "talvoKeySlot";
constexpr const char* kKeySetting = "talvoKeySetting";
constexpr const char* kKeyCh = "talvoKeyCh";

std::optional<ValueKey> boundKey(const QWidget* control) {
    const QVariant slot = control->property(kKeySlot);
    if (!slot.isValid()) return std::nullopt;
    return ValueKey{slot.toInt(), control->property(kKeySetting).toString().toStdString(),
                    control->property(kKeyCh).toInt()};
}

void remember(QWidget* control, const ValueKey& key) {
    control->setProperty(kKeySlot, key.slot);
    control->setProperty(kKeySetting, QString::fromStdString(key.setting));
    control->setProperty(kKeyCh, key.ch);
}

}  // namespace

void BindSetting(QWidget* control, const ValueKey& key) {
    if (!control) return;
    const bool first = !control->property(kKeySlot).isValid();
    remember(control, key);
    if (first)
        OnUserEdit(control, control, [control] {
            if (const auto k = boundKey(control)) Values().set(*k, Held::Value);
            DrawHeld(control, Held::Value);
        });
    DrawBound(control);
}

void BindSetting(const DottedAddress& address, const ValueKey& key) {
    const std::array<QLineEdit*, 4> all = address.boxes;
    for (QLineEdit* b : all) {
        const bool first = !b->property(kKeySlot).isValid();
        remember(b, key);
        // A change in any box gives the whole address its value.
        if (first)
            OnUserEdit(b, b, [all] {
                if (const auto k = boundKey(all[0])) Values().set(*k, Held::Value);
                for (QLineEdit* other : all) DrawHeld(other, Held::Value);
            });
        DrawBound(b);
    }
}

void BindSettingUnread(QWidget* control, const ValueKey& key) {
    Values().set(key, Held::NotRead);
    BindSetting(control, key);
}

void BindSettingUnread(const DottedAddress& address, const ValueKey& key) {
    Values().set(key, Held::NotRead);
    BindSetting(address, key);
}

void DrawBound(QWidget* control) {
    if (!control) return;
    if (const auto k = boundKey(control)) DrawHeld(control, Values().of(*k));
}

std::string ShownText(const std::string& reply) { return isValue(reply) ? TextAfterColon(reply) : std::string(); }

std::string ShownText(const std::string& prefix, const std::string& reply) {
    return isValue(reply) ? prefix + TextAfterColon(reply) : std::string();
}

// A control not bound to a setting shows only what the program puts in it:
// it holds no state of its own, and is drawn only.
void MarkNoValue(QWidget* control, Held why) {
    if (const auto k = boundKey(control)) Values().set(*k, why);
    DrawHeld(control, why);
}

void MarkNoValue(const DottedAddress& address, Held why) {
    for (QLineEdit* b : address.boxes) MarkNoValue(b, why);
}

void MarkValue(QWidget* control) {
    if (const auto k = boundKey(control)) Values().set(*k, Held::Value);
    DrawHeld(control, Held::Value);
}

void MarkValue(const DottedAddress& address) {
    for (QLineEdit* b : address.boxes) MarkValue(b);
}

bool HasValue(const QWidget* control) {
    const auto k = boundKey(control);
    return k && Values().of(*k) == Held::Value;
}

bool HasValue(const DottedAddress& address) {
    return std::all_of(address.boxes.begin(), address.boxes.end(), [](const QLineEdit* b) { return HasValue(b); });
}

bool HasValueToSend(const QLineEdit* box) { return HasValue(box) && !box->text().isEmpty(); }

bool ShowRead(QLineEdit* box, const std::string& reply) {
    if (!isValue(reply)) {
        MarkNoValue(box, reply == "NEEDLESS" ? Held::Needless : Held::Refused);
        return false;
    }
    setText(box, TextAfterColon(reply));
    MarkValue(box);
    return true;
}

void ShowRecorded(QLineEdit* box, const std::string& field) {
    setText(box, field);
    const auto k = boundKey(box);
    DrawHeld(box, k ? Values().of(*k, field) : field.empty() ? Held::NotRead : Held::Value);
}

// ---- LeftAsTheyAre ----

void LeftAsTheyAre::add(const std::string& setting, const std::string& member) {
    auto it = std::find_if(settings_.begin(), settings_.end(), [&](const auto& s) { return s.first == setting; });
    if (it == settings_.end()) {
        settings_.emplace_back(setting, std::vector<std::string>{});
        it = settings_.end() - 1;
    }
    if (!member.empty()) it->second.push_back(member);
}

void LeftAsTheyAre::add(Held why, const std::string& setting, const std::string& member) {
    if (why != Held::Needless) add(setting, member);
}

std::string LeftAsTheyAre::list() const {
    std::string out;
    for (const auto& [setting, members] : settings_) {
        if (!out.empty()) out += "; ";
        out += setting;
        for (std::size_t i = 0; i < members.size(); ++i) out += (i == 0 ? " " : ", ") + members[i];
    }
    return out;
}

void LeftAsTheyAre::tell() const {
    if (empty()) return;
    if (auto* box = platform::services().messages)
        box->show(kLeftAsTheyAreText + list(), kLeftAsTheyAreTitle, platform::MsgIcon::Information);
}

}  // namespace talvo::ui
