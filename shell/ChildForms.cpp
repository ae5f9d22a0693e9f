#include "shell/ChildForms.h"

#include <vector>

#include "core/Globals.h"
#include "ui/Geometry.h"

namespace talvo::shell {

ChildForms& childForms() {
    static ChildForms forms;
    return forms;
}

void ShowChildForm(const std::string& code) { childForms().show(code); }

void ChildForms::registerScreen(const std::string& code, Factory factory) {
    entries_[code].factory = std::move(factory);
}

QWidget* ChildForms::screen(const std::string& code) {
    auto it = entries_.find(code);
    if (it == entries_.end()) return nullptr;
    Entry& e = it->second;
    if (!e.widget && e.factory) {
        e.widget = e.factory(container_);
        e.shown = false;
        if (e.widget) e.widget->hide();
    }
    return e.widget;
}

bool ChildForms::isShown(const std::string& code) const {
    auto it = entries_.find(code);
    return it != entries_.end() && it->second.widget && it->second.shown;
}

bool ChildForms::isShown(const QWidget* w) const {
    for (const auto& [code, e] : entries_)
        if (w && e.widget == w) return e.shown;
    return false;
}

void ChildForms::hide(const std::string& code, const QWidget* keep) {
    auto it = entries_.find(code);
    if (it == entries_.end() || !it->second.widget || it->second.widget == keep) return;
    it->second.widget->hide();
    const bool wasShown = it->second.shown;
    it->second.shown = false;
    if (auto* child = dynamic_cast<ChildScreen*>(it->second.widget.data()); child && wasShown) child->formHidden();
}

void ChildForms::show(const std::string& code) {
    QWidget* w = screen(code);
    if (w) {
        ui::placeTwips(w, 0, 0, 9650, 7400);
        w->show();
        w->raise();
        Entry& e = entries_[code];
        if (!e.shown) {
            e.shown = true;
            if (auto* child = dynamic_cast<ChildScreen*>(w)) child->formActivate();
        }
    }
    Globals& g = G();
    if (g.PrevFormType != g.CurFormType) hide(g.PrevFormType, w);
    if (g.CurFormType.compare(0, 3, "Ove") != 0) hide("Over", nullptr);
    g.PrevFormType = g.CurFormType;
}

void ChildForms::leaveShown() {
    // Copied first: serving a request may show a message box, whose events may change the screens.
    std::vector<QPointer<QWidget>> shown;
    for (auto& [code, e] : entries_)
        if (e.shown && e.widget) shown.emplace_back(e.widget);
    for (const QPointer<QWidget>& w : shown)
        if (auto* child = dynamic_cast<ChildScreen*>(w.data()); child && isShown(w)) child->leaving();
}

bool ChildForms::shownHasAccepted() const {
    for (const auto& [code, e] : entries_)
        if (auto* child = dynamic_cast<const ChildScreen*>(e.widget.data()); child && e.shown && child->hasAccepted())
            return true;
    return false;
}

void ChildForms::forgetScreens() {
    for (auto& [code, e] : entries_) {
        e.widget = nullptr;
        e.shown = false;
    }
}

}  // namespace talvo::shell
