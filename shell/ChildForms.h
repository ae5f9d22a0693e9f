#pragma once
// The main window's client area shows one child screen at a time. Each screen is
// known by its screen code ("Over" the overview, "NONE" the empty-slot screen, one
// code per card screen), created on first use and afterwards only shown and hidden.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <string>

namespace talvo::shell {

// A child screen that wants to know when it is brought into the client area
// (once per show, not on every window activation).
class ChildScreen {
public:
    virtual ~ChildScreen() = default;
    virtual void formActivate() {}
    // Another screen took this one's place in the client area.
    virtual void formHidden() {}
    // The screen is about to give up the line for good: another slot is
    // picked, the link is closed or the program ends. Called with the line
    // free, it serves what the user asked of it and it accepted.
    virtual void leaving() {}
    // Whether leaving() has something to send.
    virtual bool hasAccepted() const { return false; }
};

class ChildForms {
public:
    using Factory = std::function<QWidget*(QWidget* parent)>;

    // The widget the screens are placed in; screens already created stay where they are.
    void setContainer(QWidget* container) { container_ = container; }
    QWidget* container() const { return container_; }

    // Registers (or replaces) how the screen of a code is created.
    void registerScreen(const std::string& code, Factory factory);
    // The screen of a code, created on first use; nullptr for an unknown code.
    QWidget* screen(const std::string& code);
    // Whether the screen of a code is shown in the client area now. This is the
    // program's own flag, not Qt's visibility (a minimized window hides nothing).
    bool isShown(const std::string& code) const;
    bool isShown(const QWidget* screen) const;

    // Shows the screen of `code` (sized 9650 x 7400 twips at 0,0), hides the one
    // shown under PrevFormType when that differs from CurFormType, hides the
    // overview unless CurFormType begins "Ove", and moves PrevFormType on.
    void show(const std::string& code);

    // Tells the screens shown now that they are about to be left (see ChildScreen::leaving).
    void leaveShown();
    bool shownHasAccepted() const;

    // Forgets every created screen (their owner is being destroyed); keeps the factories.
    void forgetScreens();

private:
    struct Entry {
        Factory factory;
        QPointer<QWidget> widget;
        bool shown = false;
    };
    void hide(const std::string& code, const QWidget* keep);

    QPointer<QWidget> container_;
    std::map<std::string, Entry> entries_;
};

ChildForms& childForms();

// Shows a child screen by its code; see ChildForms::show.
void ShowChildForm(const std::string& code);

}  // namespace talvo::shell
