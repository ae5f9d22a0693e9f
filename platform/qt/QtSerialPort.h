#pragma once
#include <QSerialPort>

#include "platform/SerialPort.h"

namespace talvo::platform {

// The serial port on QSerialPort. Waiting and counting look at the descriptor
// itself, so characters the kernel holds count even when no event loop has run.
class QtSerialPort : public SerialPort {
public:
    QtSerialPort();
    ~QtSerialPort() override;

    bool open(int portNo, const std::string& settings) override;
    void close() override;
    bool isOpen() const override;
    bool write(const std::string& bytes) override;
    int bytesWaiting() override;
    std::string readAll() override;
    void waitForInput(int ms) override;
    void setWholeLines(bool on) override;
    void dropInput() override;

    // Characters the event loop has already taken in from the kernel and not yet
    // handed out. Those the kernel still holds wake the event loop by themselves.
    int bufferedBytes() const;

private:
    // Closes the port when the line reports an error or has hung up; true if it did.
    bool failIfBroken();
    int kernelBytes();
    // Puts the terminal in line mode or character mode; false when it refuses.
    bool applyWholeLines(bool on);

    QSerialPort port_;
    bool wholeLines_ = false;
};

}  // namespace talvo::platform
