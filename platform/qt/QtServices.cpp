#include "platform/qt/QtServices.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/FileDialogFolder.h"
#include "platform/qt/QtFileStore.h"
#include "platform/qt/QtSerialPort.h"

namespace talvo::platform {

void QtEventPump::processEventsOnce() {
    EventLevelScope nested;
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QtEventPump::QtEventPump() = default;
QtEventPump::~QtEventPump() = default;

void QtEventPump::waitForEvents(int ms, SerialPort* wakeOnInput) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || app->thread() != QThread::currentThread()) {
        // No event loop to run here: wait on the port, or just let the time pass.
        if (ms <= 0) return;
        if (wakeOnInput && wakeOnInput->isOpen())
            wakeOnInput->waitForInput(ms);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    EventLevelScope nested;
    // Input wakes the loop through the Qt port's read notifier, which the open port
    // keeps in this thread's loop; what that notifier already took in must not be
    // slept on. A port of another kind cannot wake the loop: it is looked at often.
    auto* qtPort = dynamic_cast<QtSerialPort*>(wakeOnInput);
    bool inputWaits = false;
    if (qtPort) {
        inputWaits = !qtPort->isOpen() || qtPort->bufferedBytes() > 0;
    } else if (wakeOnInput) {
        inputWaits = wakeOnInput->bytesWaiting() != 0;
        ms = std::min(ms, 5);
    }
    if (ms <= 0 || inputWaits) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // The timer only wakes the loop when nothing else does before the time is up;
    // timers, user input and posted events wake it too.
    // One timer serves every wait and is set again only for another end time: the
    // waits of one exchange all end at its deadline. A wait nested in a handler
    // sets it for itself; the outer wait then returns and sets it back.
    if (!wake_) {
        wake_ = std::make_unique<QTimer>();
        wake_->setSingleShot(true);
        wake_->setTimerType(Qt::PreciseTimer);
    }
    const std::int64_t due = SteadyClock().nowMs() + ms;
    if (!wake_->isActive() || due != wakeDue_) {
        wake_->start(ms);
        wakeDue_ = due;
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void QtEventPump::postLater(std::function<void()> fn) {
    if (auto* app = QCoreApplication::instance()) QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

std::int64_t SteadyClock::nowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::waitMs(int ms, EventPump* pump, SerialPort* wakeOnInput) {
    if (pump) {
        pump->waitForEvents(ms, wakeOnInput);
        return;
    }
    if (ms <= 0) return;
    if (wakeOnInput && wakeOnInput->isOpen()) {
        wakeOnInput->waitForInput(ms);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

namespace {

// The window a message box or file dialog belongs to, which it is centred on:
// the modal dialog up now, else the active window, else the main window. Right
// after a dialog closed (the COM-port dialog before the handshake, say) no
// window is active, and a box without an owner would sit in the middle of the screen.
QWidget* ownerWindow() {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    if (QWidget* w = QApplication::activeWindow()) return w;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && qobject_cast<QMainWindow*>(w)) return w;
    return nullptr;
}

}  // namespace

MsgResult QtMessageBox::show(const std::string& text, const std::string& title, MsgIcon icon,
                             MsgButtons buttons) {
    QMessageBox box(ownerWindow());
    box.setText(QString::fromLatin1(text.c_str()));
    box.setWindowTitle(QString::fromLatin1(title.empty() ? kAppTitle : title.c_str()));
    switch (icon) {
        case MsgIcon::Stop: box.setIcon(QMessageBox::Critical); break;
        case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MsgIcon::None: break;
    }
    switch (buttons) {
        case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case MsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    EventLevelScope nested;
    ModalScope modal;
    switch (box.exec()) {
        case QMessageBox::Cancel: return MsgResult::Cancel;
        case QMessageBox::Yes: return MsgResult::Yes;
        case QMessageBox::No: return MsgResult::No;
        default: return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Cancel;
    }
}

std::string qtFilterFromPairs(const std::string& filter) {
    std::string out;
    std::string field;
    bool isName = true;
    for (char c : filter) {
        if (c != '|') {
            field += c;
            continue;
        }
        if (isName && !field.empty()) {
            if (!out.empty()) out += ";;";
            out += field;
        }
        isName = !isName;
        field.clear();
    }
    if (isName && !field.empty()) {
        if (!out.empty()) out += ";;";
        out += field;
    }
    return out;
}

std::string QtFileDialog::startPath(const std::string& suggested) const {
    return fileDialogStartPath(lastFolder_, QDir::homePath().toLocal8Bit().toStdString(), suggested,
                               [](const std::string& p) { return QFileInfo(QString::fromLocal8Bit(p.c_str())).isDir(); });
}

bool QtFileDialog::ask(bool save, const std::string& filter, std::string& path) {
    EventLevelScope nested;
    ModalScope modal;
    QFileDialog dialog(ownerWindow(), QString(), QString::fromLocal8Bit(startPath(path).c_str()),
                       QString::fromLatin1(qtFilterFromPairs(filter).c_str()));
    // Qt's own dialog on every desktop: it adds the default suffix before it
    // asks whether to replace an existing file, so the question names the file
    // that is written.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save) {
        // A name typed without an extension takes the one of the list entry chosen.
        dialog.setDefaultSuffix(QString::fromLatin1(filterSuffix(filter).c_str()));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& chosen) {
            dialog.setDefaultSuffix(QString::fromLatin1(chosenFilterSuffix(chosen.toLatin1().toStdString()).c_str()));
        });
    }
    if (dialog.exec() != QDialog::Accepted) return false;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty()) return false;
    path = files.first().toLocal8Bit().toStdString();
    lastFolder_ = folderOf(path);
    return true;
}

bool QtFileDialog::openFile(const std::string& filter, std::string& path) { return ask(false, filter, path); }

bool QtFileDialog::saveFile(const std::string& filter, std::string& path) { return ask(true, filter, path); }

bool QtProcessRunner::runAndWait(const std::string& program, const std::vector<std::string>& args) {
    QStringList list;
    for (const auto& a : args) list << QString::fromLocal8Bit(a.c_str());
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(QString::fromLocal8Bit(program.c_str()), list);
    if (!p.waitForStarted(-1)) return false;
    p.waitForFinished(-1);
    return true;
}

struct QtPlatform::Impl {
    QtSerialPort serial;
    QtEventPump pump;
    SteadyClock clock;
    QtMessageBox messages;
    QtFileDialog files;
    QtProcessRunner processes;
    QtFileStore store;
    Services saved;
};

QtPlatform::QtPlatform() : d(std::make_unique<Impl>()) {
    d->saved = services();
    services() = Services{&d->serial, &d->pump, &d->clock, &d->messages, &d->files, &d->processes, &d->store};
}

QtPlatform::~QtPlatform() { services() = d->saved; }

}  // namespace talvo::platform
