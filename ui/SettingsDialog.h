#pragma once
// What every settings dialog shares (the communication and wireless card
// dialogs, the HART master dialog, the zero-offset dialog): its commands
// disabled while a transfer or file command runs and enabled again on every way
// out, the entry checks that run when a box loses the focus (not when the focus
// goes to "Exit"), the transfer messages, and commands that wait for the
// serial line's turn.
#include <QDialog>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "core/LineTurn.h"
#include "ui/BusyCursor.h"
#include "ui/FieldChecks.h"

class QLineEdit;
class QPushButton;

namespace talvo::ui {

// The messages of failed transfers and files: critical icon, a title of their own.
struct TransferMessage {
    const char* text;
    const char* title;
};
inline constexpr TransferMessage kUploadingIncomplete{"Uploading incomplete", "Uploading"};
inline constexpr TransferMessage kDownloadingIncomplete{"Downloading incomplete", "Downloading"};
inline constexpr TransferMessage kUploadIncomplete{"Upload incomplete", "Upload"};
inline constexpr TransferMessage kSaveFileIncomplete{"save file incomplete", "save file"};

void ShowTransferMessage(const TransferMessage& m);
// A transfer that lost the card: its message, then the link goes down.
void ShowTransferLoss(const TransferMessage& m);
// An entry message: information icon, the program's title.
void ShowEntryMessage(const std::string& text);

// A box's check by its field-check row: false, with the row's entry message,
// when the text fails; else true, and the box shows what the check made of
// its text (a Hex field rewritten). A box that holds no value (ui/DialogValues)
// has nothing to check: true.
bool CheckField(QLineEdit* box, const FieldCheck& check);

// The exchanges of one transfer: a read or write that must be answered fails
// the transfer when its answer is empty, and once it has failed nothing more is
// sent (every further read and write gives ""). Exchanges whose answer does not
// matter go through `send`; so does, in effect, a write of an empty text, whose
// echo cannot be told from no answer.
class Exchanges {
public:
    explicit Exchanges(int retries = 3) : retries_(retries) {}
    std::string read(const std::string& group, const std::string& item);
    std::string write(const std::string& group, const std::string& item, const std::string& data);
    // Answer not tested: sent while the transfer has not failed.
    std::string readAny(const std::string& group, const std::string& item);
    std::string send(const std::string& group, const std::string& item, const std::string& data);
    // A write whose answer carries a value the card reads out ("k;" asks for a
    // list): the value, "CNG" or "NEEDLESS" for a refusal; no answer fails the
    // transfer.
    std::string query(const std::string& group, const std::string& item, const std::string& data);
    // The card select (group "00": item "01" := "F", item "41" := cardNo): a
    // select that failed fails the transfer, so nothing of it reaches another card.
    void sendCardSelect(const std::string& cardNo);
    bool ok() const { return ok_; }
    void fail() { ok_ = false; }

private:
    int retries_;
    bool ok_ = true;
};

// The dialog's commands, disabled together while one of them runs. Holds nest:
// the commands come back when the outermost hold ends, however it ends.
class ButtonGuard {
public:
    void setButtons(std::vector<QWidget*> buttons) { buttons_ = std::move(buttons); }
    void disable();
    void enable();
    bool held() const { return depth_ > 0; }

    // Taken and given back in pairs; the outermost decides.
    void take() {
        if (depth_++ == 0) disable();
    }
    void giveBack() {
        if (--depth_ == 0) enable();
    }

    class Hold {
    public:
        explicit Hold(ButtonGuard& g) : g_(g) { g_.take(); }
        ~Hold() { g_.giveBack(); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        ButtonGuard& g_;
    };

private:
    std::vector<QWidget*> buttons_;
    int depth_ = 0;
};

// The lost-focus checks of a dialog's boxes. A check shows its own message and
// returns false when the box's entry is not valid; the focus then goes back
// into the box. A check does not run when the focus goes to the exit button,
// nor when another window (a message box, a file dialog, another program)
// takes the focus. While a check runs, the focus changes it causes (its
// message, putting the focus back) start no other check, so two invalid boxes
// never send the focus back and forth.
class FocusChecks : public QObject {
public:
    FocusChecks(QWidget* dialog, QWidget* exitButton);
    void setExitButton(QWidget* exitButton) { exit_ = exitButton; }

    void watch(QWidget* box, std::function<bool()> check);
    // For a command: runs the check of the box the focus just left, or of the
    // box that still has it (a command given from the keyboard). False when it
    // failed: the command must not act.
    bool settle();
    // Runs the check of a box now, as losing the focus would.
    bool runCheck(QWidget* box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runPending();
    std::function<bool()>* checkOf(QWidget* box);

    QWidget* dialog_;
    QPointer<QWidget> exit_;
    std::vector<std::pair<QWidget*, std::function<bool()>>> checks_;
    QPointer<QWidget> pending_;
    QPointer<QWidget> refocused_;
    bool inCheck_ = false;
};

// The base of the settings dialogs: modal, owned by the main window.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(QWidget* parent);

    ButtonGuard& buttons() { return guard_; }
    FocusChecks& checks() { return checks_; }
    // True while a command of the dialog runs (a transfer, a file command).
    bool busy() const { return busy_ > 0 || waiting_ > 0; }
    // True once the dialog's opening read has run (dialogs that read on opening).
    bool opened() const { return opened_; }

    // A command that may talk to the station: the box just left is checked
    // first; then the command runs when the serial line is free, if the dialog
    // and the button are still there and enabled. While the link is down the
    // button is disabled.
    void onCommand(QPushButton* button, std::function<void()> command);
    // The same for a command that needs no line (a settings file read or
    // saved, an entry taken into the dialog's table): it stays usable while the
    // link is down.
    void onLocalCommand(QPushButton* button, std::function<void()> command);
    // A command that only closes the dialog: no check.
    void onExit(QPushButton* button);

    // The card the dialog's commands are for: the communication card unless set.
    // Its frames go to that card; the line selects it first when it does not
    // know it is selected.
    void setLineCard(int card) { lineCard_ = card; }
    int lineCard() const { return lineCard_; }

    // Closing while a command runs or waits for the line (Exit, Esc, the frame)
    // closes the dialog once it has ended; the wait cursor says so meanwhile.
    void done(int result) override;
    bool closeAsked() const { return closeAsked_; }

protected:
    // A command's run: the dialog's commands disabled, the line held, the
    // dialog kept from closing; all undone on every way out. At its end a port
    // that went away shows the disconnected state, the commands that need the
    // line stay disabled while the link is down, and a close asked for meanwhile
    // takes effect.
    class Running {
    public:
        explicit Running(SettingsDialog& d) : end_(d), line_(d.lineCard_), hold_(d.guard_) {}
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

    private:
        struct End {
            explicit End(SettingsDialog& dialog) : d(dialog) { ++d.busy_; }
            ~End() {
                --d.busy_;
                d.commandEnded();
            }
            SettingsDialog& d;
        };
        // Destroyed in reverse order: the cursor and the buttons come back,
        // the line is given up, then the end is looked at.
        End end_;
        LineHold line_;
        ButtonGuard::Hold hold_;
        BusyCursor busy_;
    };

    // Runs once, when the dialog is first shown (each opening makes a new
    // dialog): a dialog that reads the card on opening does it here. A message
    // box or file dialog that closes and activates the dialog again does not
    // run it again.
    virtual void opening() {}

    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void addCommand(QPushButton* button, std::function<void()> command, bool needsLine);
    void commandEnded();
    // The commands that need the line follow the link: disabled while it is down.
    void followLink();

    ButtonGuard guard_;
    FocusChecks checks_;
    std::vector<QPointer<QPushButton>> lineCommands_;
    int busy_ = 0;
    int waiting_ = 0;  // commands asked for that wait for the line
    bool closeAsked_ = false;
    int closeResult_ = 0;
    bool openingAsked_ = false;
    bool opened_ = false;
    int lineCard_ = 0;
};

}  // namespace talvo::ui
