#include "ui/SettingsDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

#include "core/Connection.h"
#include "core/Globals.h"
#include "core/Protocol.h"
#include "platform/Services.h"
#include "ui/DialogBoxes.h"
#include "ui/DialogValues.h"

namespace talvo::ui {

void ShowTransferMessage(const TransferMessage& m) {
    if (auto* box = platform::services().messages) box->show(m.text, m.title, platform::MsgIcon::Stop);
}

void ShowTransferLoss(const TransferMessage& m) {
    ShowTransferMessage(m);
    DisconnectDevice();
}

void ShowEntryMessage(const std::string& text) {
    if (auto* box = platform::services().messages) box->show(text, "", platform::MsgIcon::Information);
}

bool CheckField(QLineEdit* box, const FieldCheck& check) {
    if (!HasValue(box)) return true;
    const FieldResult r = RunFieldCheck(check, text(box));
    if (!r.ok) {
        ShowEntryMessage(check.message);
        return false;
    }
    if (r.text != text(box)) setText(box, r.text);
    return true;
}

// ---- Exchanges ----

std::string Exchanges::read(const std::string& group, const std::string& item) {
    std::string r = readAny(group, item);
    if (r.empty()) ok_ = false;
    return r;
}

std::string Exchanges::write(const std::string& group, const std::string& item, const std::string& data) {
    std::string r = send(group, item, data);
    // The card echoes the data it took; an empty text's echo carries nothing to
    // tell a taken write from an unanswered one, so such a write is not tested.
    if (r.empty() && !data.empty()) ok_ = false;
    return r;
}

std::string Exchanges::readAny(const std::string& group, const std::string& item) {
    return ok_ ? ReadItem(retries_, group, item) : std::string();
}

std::string Exchanges::send(const std::string& group, const std::string& item, const std::string& data) {
    return ok_ ? WriteItem(retries_, group, item, data) : std::string();
}

std::string Exchanges::query(const std::string& group, const std::string& item, const std::string& data) {
    std::string r = ok_ ? WriteItemChecked(retries_, group, item, data) : std::string();
    if (r.empty()) ok_ = false;
    return r;
}

void Exchanges::sendCardSelect(const std::string& cardNo) {
    if (ok_ && !SelectCard(cardNo, retries_)) ok_ = false;
}

// ---- ButtonGuard ----

void ButtonGuard::disable() {
    for (QWidget* b : buttons_) b->setEnabled(false);
}

void ButtonGuard::enable() {
    for (QWidget* b : buttons_) b->setEnabled(true);
}

// ---- FocusChecks ----

FocusChecks::FocusChecks(QWidget* dialog, QWidget* exitButton) : QObject(dialog), dialog_(dialog), exit_(exitButton) {}

void FocusChecks::watch(QWidget* box, std::function<bool()> check) {
    checks_.emplace_back(box, std::move(check));
    box->installEventFilter(this);
}

std::function<bool()>* FocusChecks::checkOf(QWidget* box) {
    for (auto& [b, check] : checks_)
        if (b == box) return &check;
    return nullptr;
}

bool FocusChecks::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusOut || inCheck_) return false;
    // Another window took the focus (a message box, a file dialog, another
    // program): the box keeps it, as far as the dialog is concerned.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
    pending_ = static_cast<QWidget*>(watched);
    // After the focus has settled on the control that takes it.
    QTimer::singleShot(0, this, [this] { runPending(); });
    return false;
}

void FocusChecks::runPending() {
    QWidget* box = pending_;
    pending_ = nullptr;
    if (!box || inCheck_) return;
    QWidget* now = QApplication::focusWidget();
    if (now != nullptr && now->window() != dialog_->window()) return;  // left for another window
    if (now == box) return;                                            // came back
    if (exit_ && now == exit_) return;
    if (refocused_ && now == refocused_) return;  // the focus went back to a box that failed
    runCheck(box);
}

bool FocusChecks::runCheck(QWidget* box) {
    std::function<bool()>* check = checkOf(box);
    if (!check || inCheck_) return true;
    inCheck_ = true;
    QPointer<QWidget> next = QApplication::focusWidget();
    const bool ok = (*check)();
    if (!ok) {
        refocused_ = box;
        // The box the focus went on to keeps no selection: the typing goes back
        // into the box that failed. (Its message took the focus from the window,
        // which leaves a box's selection standing.)
        if (auto* edit = qobject_cast<QLineEdit*>(next.data()); edit && next != box) edit->deselect();
        box->setFocus(Qt::OtherFocusReason);
    } else if (refocused_ == box) {
        refocused_ = nullptr;
    }
    inCheck_ = false;
    return ok;
}

bool FocusChecks::settle() {
    if (inCheck_) return false;
    if (QWidget* box = pending_) {
        pending_ = nullptr;
        return runCheck(box);
    }
    QWidget* now = QApplication::focusWidget();
    if (now && checkOf(now)) return runCheck(now);
    return true;
}

// ---- SettingsDialog ----

SettingsDialog::SettingsDialog(QWidget* parent) : QDialog(parent), checks_(this, nullptr) {
    setModal(true);
}

void SettingsDialog::onCommand(QPushButton* button, std::function<void()> command) {
    addCommand(button, std::move(command), true);
}

void SettingsDialog::onLocalCommand(QPushButton* button, std::function<void()> command) {
    addCommand(button, std::move(command), false);
}

void SettingsDialog::addCommand(QPushButton* button, std::function<void()> command, bool needsLine) {
    if (needsLine) lineCommands_.emplace_back(button);
    connect(button, &QPushButton::clicked, this, [this, button, command = std::move(command)] {
        if (busy() || closeAsked_ || !checks_.settle()) return;
        const std::string key = objectName().toStdString() + "." + button->objectName().toStdString();
        QPointer<SettingsDialog> self(this);
        QPointer<QPushButton> b(button);
        // While it waits for the line the dialog's commands are off and the
        // dialog does not close under it.
        ++waiting_;
        guard_.take();
        RunWhenLineFree(key, [self, b, command] {
            if (!self) return;
            --self->waiting_;
            self->guard_.giveBack();
            if (b && b->isEnabled() && self->busy_ == 0)
                command();
            else
                self->commandEnded();
        });
    });
}

void SettingsDialog::onExit(QPushButton* button) {
    checks_.setExitButton(button);
    connect(button, &QPushButton::clicked, this, [this] { reject(); });
}

void SettingsDialog::done(int result) {
    // Not while a command runs: its exchange would come back to a dialog that is
    // gone. The close is kept and taken once the command has ended.
    if (busy()) {
        if (!closeAsked_) {
            closeAsked_ = true;
            closeResult_ = result;
            setCursor(Qt::WaitCursor);
        }
        return;
    }
    QDialog::done(result);
}

void SettingsDialog::closeEvent(QCloseEvent* e) {
    if (busy()) {
        e->ignore();
        done(QDialog::Rejected);
        return;
    }
    QDialog::closeEvent(e);
}

void SettingsDialog::commandEnded() {
    if (busy()) return;
    // The line went away during the command: the window says so at once.
    NoticeLostPort();
    followLink();
    if (closeAsked_) {
        // After the command's own code has returned.
        QPointer<SettingsDialog> self(this);
        QTimer::singleShot(0, this, [self] {
            if (!self || self->busy()) return;
            self->unsetCursor();
            self->closeAsked_ = false;
            self->done(self->closeResult_);
        });
    }
}

void SettingsDialog::followLink() {
    const bool up = G().Connected;
    for (const QPointer<QPushButton>& b : lineCommands_)
        if (b && !up) b->setEnabled(false);
}

void SettingsDialog::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    followLink();
    if (openingAsked_) return;
    openingAsked_ = true;
    // Once the dialog is on screen, and when the line is free.
    QPointer<SettingsDialog> self(this);
    QTimer::singleShot(0, this, [self] {
        if (!self) return;
        RunWhenLineFree(self->objectName().toStdString() + ".opening", [self] {
            if (!self) return;
            self->opening();
            self->opened_ = true;
        });
    });
}

}  // namespace talvo::ui
