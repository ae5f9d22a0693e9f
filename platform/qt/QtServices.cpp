#include "platform/qt/QtServices.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <chrono>
#include <thread>

#include "platform/qt/QtSerialPort.h"

namespace talvo::platform {

void QtEventPump::processEventsOnce() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

std::int64_t SteadyClock::nowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::sleepMs(int ms, SerialPort* wakeOnInput) {
    if (ms <= 0) return;
    if (wakeOnInput && wakeOnInput->isOpen()) {
        wakeOnInput->waitForInput(ms);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

MsgResult QtMessageBox::show(const std::string& text, const std::string& title, MsgIcon icon,
                             MsgButtons buttons) {
    QMessageBox box(QApplication::activeWindow());
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

bool QtFileDialog::openFile(const std::string& filter, std::string& path) {
    const QString f = QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(),
                                                   QString::fromLocal8Bit(path.c_str()),
                                                   QString::fromLatin1(qtFilterFromPairs(filter).c_str()));
    if (f.isEmpty()) return false;
    path = f.toLocal8Bit().toStdString();
    return true;
}

bool QtFileDialog::saveFile(const std::string& filter, std::string& path) {
    const QString f = QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(),
                                                   QString::fromLocal8Bit(path.c_str()),
                                                   QString::fromLatin1(qtFilterFromPairs(filter).c_str()));
    if (f.isEmpty()) return false;
    path = f.toLocal8Bit().toStdString();
    return true;
}

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
    Services saved;
};

QtPlatform::QtPlatform() : d(std::make_unique<Impl>()) {
    d->saved = services();
    services() = Services{&d->serial, &d->pump, &d->clock, &d->messages, &d->files, &d->processes};
}

QtPlatform::~QtPlatform() { services() = d->saved; }

}  // namespace talvo::platform
