#include "platform/qt/QtSerialPort.h"

#include <poll.h>
#include <sys/ioctl.h>

namespace talvo::platform {

QtSerialPort::QtSerialPort() = default;

QtSerialPort::~QtSerialPort() { close(); }

bool QtSerialPort::open(int portNo, const std::string& settings) {
    LineSettings s;
    if (portNo < 1 || portNo > 16 || !parseLineSettings(settings, s)) return false;
    close();
    port_.setPortName(QString::fromLocal8Bit(comPortDevice(portNo).c_str()));
    if (!port_.open(QIODevice::ReadWrite)) return false;
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
    return true;
}

void QtSerialPort::close() {
    if (port_.isOpen()) port_.close();
    port_.clearError();
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
    const qint64 n = port_.write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (n != static_cast<qint64>(bytes.size())) {
        close();
        return false;
    }
    // Push the frame out now; the exchange measures its time-out from here.
    while (port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(1000)) {
            close();
            return false;
        }
    }
    return !failIfBroken();
}

int QtSerialPort::bytesWaiting() {
    if (failIfBroken()) return -1;
    const int kernel = kernelBytes();
    if (kernel < 0) {
        close();
        return -1;
    }
    return static_cast<int>(port_.bytesAvailable()) + kernel;
}

std::string QtSerialPort::readAll() {
    if (failIfBroken()) return {};
    if (kernelBytes() > 0) port_.waitForReadyRead(0);
    if (failIfBroken()) return {};
    const QByteArray data = port_.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

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
