#include "ui/DialogValues.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPalette>
#include <algorithm>

#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "platform/Services.h"

namespace talvo::ui {

namespace {

constexpr const char* kNoValue = "talvoNoValue";
constexpr const char* kValuePalette = "talvoValuePalette";
constexpr const char* kWatched = "talvoValueWatched";
constexpr const char* kGroupLinked = "talvoValueGroupLinked";

// The text of a box without a value: grey, still readable.
const QColor kNoValueText(128, 128, 128);

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

std::string ShownText(const std::string& reply) { return isValue(reply) ? TextAfterColon(reply) : std::string(); }

std::string ShownText(const std::string& prefix, const std::string& reply) {
    return isValue(reply) ? prefix + TextAfterColon(reply) : std::string();
}

void MarkNoValue(QLineEdit* box) {
    watch(box);
    if (box->property(kNoValue).toBool()) return;
    box->setProperty(kNoValue, true);
    box->setProperty(kValuePalette, QVariant::fromValue(box->palette()));
    QPalette p = box->palette();
    p.setColor(QPalette::Active, QPalette::Text, kNoValueText);
    p.setColor(QPalette::Inactive, QPalette::Text, kNoValueText);
    box->setPalette(p);
}

void MarkNoValue(QCheckBox* box) {
    watch(box);
    box->setProperty(kNoValue, true);
    const bool blocked = box->blockSignals(true);
    box->setTristate(true);
    box->setCheckState(Qt::PartiallyChecked);
    box->blockSignals(blocked);
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
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        box->setPalette(box->property(kValuePalette).value<QPalette>());
    } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
        if (check->checkState() == Qt::PartiallyChecked) {
            const bool blocked = check->blockSignals(true);
            check->setCheckState(Qt::Unchecked);
            check->blockSignals(blocked);
        }
        check->setTristate(false);
    }
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
