#include "platform/qt/QtSerialPort.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace talvo::platform {

// Line mode keeps its line-end character where character mode keeps its
// minimum count and time; on Linux the two never share a slot, so switching
// modes leaves QSerialPort's character-mode settings as they were.
static_assert(VMIN != VEOF && VTIME != VEOL);

QtSerialPort::QtSerialPort() = default;

QtSerialPort::~QtSerialPort() { close(); }

bool QtSerialPort::open(int portNo, const std::string& settings) {
    LineSettings s;
    if (portNo < 1 || portNo > 16 || !parseLineSettings(settings, s)) return false;
    close();
    port_.setPortName(QString::fromLocal8Bit(comPortDevice(portNo).c_str()));
    if (!port_.open(QIODevice::ReadWrite)) return false;
    newSession();
    const bool ok = port_.setBaudRate(s.baud) &&
                    port_.setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits)) &&
                    port_.setParity(s.parity == 'e'   ? QSerialPort::EvenParity
                                    : s.parity == 'o' ? QSerialPort::OddParity
                                                      : QSerialPort::NoParity) &&
                    port_.setStopBits(s.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
                    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        port_.close();
        return false;
    }
    // A freshly opened port starts empty, whatever the line delivered while it was closed.
    port_.clear(QSerialPort::AllDirections);
    // A terminal that refuses line mode still works, one character at a time.
    wholeLines_ = applyWholeLines(true);
    return true;
}

void QtSerialPort::close() {
    if (port_.isOpen()) {
        port_.close();
        newSession();
    }
    port_.clearError();
    wholeLines_ = false;
}

bool QtSerialPort::applyWholeLines(bool on) {
    const int fd = static_cast<int>(port_.handle());
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return false;
    if (on) {
        // The kernel's line mode: only CR ends a line (and LF, which that mode
        // always takes as a line end; it stays in the line). Every character that
        // would edit the line, echo, stop the output or raise a signal is switched
        // off, so each byte is handed over exactly as it came.
        t.c_lflag |= ICANON;
        t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHOE | ECHOK | ECHONL | ISIG | IEXTEN);
        t.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IGNCR | ISTRIP | IXON | IXOFF);
        for (const int c : {VINTR, VQUIT, VERASE, VKILL, VEOF, VEOL2, VSTART, VSTOP, VSUSP, VREPRINT, VWERASE,
                            VLNEXT, VDISCARD})
            t.c_cc[c] = _POSIX_VDISABLE;
        t.c_cc[VEOL] = '\r';
    } else {
        t.c_lflag &= ~static_cast<tcflag_t>(ICANON);
    }
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

void QtSerialPort::setWholeLines(bool on) {
    // Only a change is passed on: some adapters' drivers talk to the device on
    // every settings call.
    if (!port_.isOpen() || on == wholeLines_) return;
    if (applyWholeLines(on)) wholeLines_ = on;
}

void QtSerialPort::dropInput() {
    if (failIfBroken()) return;
    port_.clear(QSerialPort::Input);
}

bool QtSerialPort::isOpen() const { return port_.isOpen(); }

bool QtSerialPort::failIfBroken() {
    if (!port_.isOpen()) return true;
    const auto err = port_.error();
    if (err != QSerialPort::NoError && err != QSerialPort::TimeoutError) {
        close();
        return true;
    }
    return false;
}

int QtSerialPort::kernelBytes() {
    int n = 0;
    if (::ioctl(static_cast<int>(port_.handle()), FIONREAD, &n) != 0) return -1;
    return n;
}

bool QtSerialPort::write(const std::string& bytes) {
    if (failIfBroken()) return false;
    // Straight to the terminal: the exchange measures its time-out from here, and
    // QSerialPort's buffered write would cost a write notifier and extra wake-ups
    // of the event loop for every frame.
    const int fd = static_cast<int>(port_.handle());
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        pollfd p{fd, POLLOUT, 0};
        if (n < 0 && errno == EAGAIN && ::poll(&p, 1, 1000) > 0 && !(p.revents & (POLLERR | POLLHUP | POLLNVAL)))
            continue;
        close();
        return false;
    }
    return true;
}

int QtSerialPort::bytesWaiting() {
    if (failIfBroken()) return -1;
    // Characters the event loop has already taken in answer the question without
    // asking the kernel; this runs on every wake-up of a waiting exchange.
    const auto buffered = port_.bytesAvailable();
    if (buffered > 0) return static_cast<int>(buffered);
    const int kernel = kernelBytes();
    if (kernel < 0) {
        close();
        return -1;
    }
    return kernel;
}

std::string QtSerialPort::readAll() {
    if (failIfBroken()) return {};
    // What the kernel holds comes in too when nothing is buffered yet; otherwise
    // it is announced by the read notifier at the next turn of the event loop.
    if (port_.bytesAvailable() == 0 && kernelBytes() > 0) port_.waitForReadyRead(0);
    if (failIfBroken()) return {};
    const QByteArray data = port_.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

int QtSerialPort::bufferedBytes() const { return port_.isOpen() ? static_cast<int>(port_.bytesAvailable()) : 0; }

void QtSerialPort::waitForInput(int ms) {
    if (failIfBroken()) return;
    if (port_.bytesAvailable() > 0) return;
    pollfd p{static_cast<int>(port_.handle()), POLLIN, 0};
    const int r = ::poll(&p, 1, ms);
    // A terminal whose far end has gone reports a hang-up; close at once so the
    // next call fails instead of reporting the same error over and over.
    if (r > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) && kernelBytes() <= 0) close();
}

}  // namespace talvo::platform
