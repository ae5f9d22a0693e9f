#include "ui/DialogValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>

#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "platform/Services.h"

namespace talvo::ui {

namespace {

constexpr const char* kNoValue = "talvoNoValue";
constexpr const char* kWatched = "talvoValueWatched";
constexpr const char* kGroupLinked = "talvoValueGroupLinked";


bool isValue(const std::string& reply) { return !reply.empty() && !IsRefusal(reply); }

void watch(QLineEdit* box) {
    if (box->property(kWatched).toBool()) return;
    box->setProperty(kWatched, true);
    QObject::connect(box, &QLineEdit::textChanged, box, [box] { MarkValue(box); });
}

void watch(QCheckBox* box) {
    if (box->property(kWatched).toBool()) return;
    box->setProperty(kWatched, true);
    QObject::connect(box, &QCheckBox::stateChanged, box, [box](int state) {
        if (state == Qt::PartiallyChecked) return;
        box->setTristate(false);
        MarkValue(box);
    });
}

}  // namespace

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

std::string ShownText(const std::string& reply) { return isValue(reply) ? TextAfterColon(reply) : std::string(); }

std::string ShownText(const std::string& prefix, const std::string& reply) {
    return isValue(reply) ? prefix + TextAfterColon(reply) : std::string();
}

void MarkNoValue(QLineEdit* box) {
    watch(box);
    if (box->property(kNoValue).toBool()) return;
    box->setProperty(kNoValue, true);
    DrawHeld(box, Held::Refused);
}

void MarkNoValue(QCheckBox* box) {
    watch(box);
    box->setProperty(kNoValue, true);
    DrawHeld(box, Held::Refused);
}

void MarkNoValue(const DottedAddress& address) {
    for (QLineEdit* b : address.boxes) MarkNoValue(b);
    if (address.boxes[0]->property(kGroupLinked).toBool()) return;
    const std::array<QLineEdit*, 4> all = address.boxes;
    for (QLineEdit* b : all) {
        b->setProperty(kGroupLinked, true);
        QObject::connect(b, &QLineEdit::textChanged, b, [all] {
            for (QLineEdit* other : all) MarkValue(other);
        });
    }
}

void MarkValue(QWidget* control) {
    if (!control->property(kNoValue).toBool()) return;
    control->setProperty(kNoValue, false);
    DrawHeld(control, Held::Value);
}

bool HasValue(const QWidget* control) { return !control->property(kNoValue).toBool(); }

bool HasValue(const DottedAddress& address) {
    return std::all_of(address.boxes.begin(), address.boxes.end(), [](const QLineEdit* b) { return HasValue(b); });
}

bool ShowRead(QLineEdit* box, const std::string& reply) {
    if (!isValue(reply)) {
        MarkNoValue(box);
        return false;
    }
    setText(box, TextAfterColon(reply));
    return true;
}

void ShowRecorded(QLineEdit* box, const std::string& field) {
    setText(box, field);
    if (field.empty()) MarkNoValue(box);
}

void ShowSetting(QLineEdit* box, const Setting& setting) {
    setText(box, setting.text);
    if (!setting.has) MarkNoValue(box);
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
