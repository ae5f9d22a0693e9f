#pragma once
#include <string>

namespace talvo::platform {

// The serial line to the station. Text is Latin-1: one character, one byte.
// A port that reports an error closes itself, so a line whose far end has gone
// fails every later call at once instead of repeating the error.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens COM portNo (1 to 16) with a settings text such as "9600,n,8,1".
    virtual bool open(int portNo, const std::string& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Writes every byte of the frame; false when the port is not open or fails.
    virtual bool write(const std::string& bytes) = 0;

    // Characters received and not yet taken: those already buffered or, when none
    // are, those the operating system holds; so 0 means none wait at all.
    // -1 when the port is not open.
    virtual int bytesWaiting() = 0;

    // Takes the characters waiting as one chunk ("" when none or on error):
    // those already buffered or, when none are, those the operating system holds.
    virtual std::string readAll() = 0;

    // Blocks at most ms milliseconds, returning early once characters wait.
    virtual void waitForInput(int ms) = 0;

    // Whole lines (the state a port opens in): received characters are handed over
    // a CR-ended line at a time. The characters of a line whose CR has not come yet
    // are neither counted, nor read, nor do they end a wait, so a waiting reply costs
    // one wake-up instead of one a character. Off: each character as it comes.
    virtual void setWholeLines(bool on) = 0;

    // Drops every character received and not yet taken, those of a line whose CR
    // has not come included.
    virtual void dropInput() = 0;

    // Changes whenever the port is opened or closed, by whoever does it (the
    // program, a setting tool run in between, the port itself on a line
    // error): what the line knew of the station before no longer holds.
    long session() const { return session_; }

protected:
    // Implementations call it on every open and every close of the device.
    void newSession() { ++session_; }

private:
    long session_ = 0;
};

// The device that stands for COM portNo: $TALVO_COM<n> when set, else /dev/ttyS<n-1>.
std::string comPortDevice(int portNo);

// Parses "9600,n,8,1". Returns false for a text it does not understand.
struct LineSettings {
    int baud = 9600;
    char parity = 'n';
    int dataBits = 8;
    int stopBits = 1;
};
bool parseLineSettings(const std::string& text, LineSettings& out);

}  // namespace talvo::platform
