// The Qt serial port over the simulator's pseudo-terminal, and the port naming.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/SerialPort.h"
#include "platform/qt/QtServices.h"
#include "tests/support/SimFixture.h"

using namespace talvo;
using namespace talvo::platform;

TEST(PortNaming, EnvironmentNamesTheDeviceElseTheNumberedTerminal) {
    ::unsetenv("TALVO_COM7");
    EXPECT_EQ(comPortDevice(7), "/dev/ttyS6");
    EXPECT_EQ(comPortDevice(1).empty(), false);
    ::setenv("TALVO_COM7", "/dev/ttyUSB0", 1);
    EXPECT_EQ(comPortDevice(7), "/dev/ttyUSB0");
    ::setenv("TALVO_COM7", "", 1);
    EXPECT_EQ(comPortDevice(7), "/dev/ttyS6");
    ::unsetenv("TALVO_COM7");
}

TEST(PortNaming, LineSettingsText) {
    LineSettings s;
    ASSERT_TRUE(parseLineSettings("9600,n,8,1", s));
    EXPECT_EQ(s.baud, 9600);
    EXPECT_EQ(s.parity, 'n');
    EXPECT_EQ(s.dataBits, 8);
    EXPECT_EQ(s.stopBits, 1);
    ASSERT_TRUE(parseLineSettings("19200,E,7,2", s));
    EXPECT_EQ(s.parity, 'e');
    for (const char* bad : {"", "9600", "9600,n,8", "9600,x,8,1", "9600,n,9,1", "abc,n,8,1", "9600,n,8,1,1",
                            "9600,nn,8,1", "9600,n,8,3"})
        EXPECT_FALSE(parseLineSettings(bad, s)) << bad;
}

TEST(PortNaming, FileDialogFilterPairs) {
    EXPECT_EQ(qtFilterFromPairs("uJx Files (*.uJx)|*.uJx|"), "uJx Files (*.uJx)");
    EXPECT_EQ(qtFilterFromPairs("A (*.a)|*.a|B (*.b)|*.b"), "A (*.a);;B (*.b)");
    EXPECT_EQ(qtFilterFromPairs(""), "");
}

namespace {
class SerialPortTest : public test::SimTest {};
}  // namespace

TEST_F(SerialPortTest, OpenFailsForAMissingDeviceOrBadSettings) {
    QtSerialPort p;
    ::setenv("TALVO_COM2", "/nonexistent/tty", 1);
    EXPECT_FALSE(p.open(2, "9600,n,8,1"));
    EXPECT_FALSE(p.isOpen());
    EXPECT_FALSE(p.open(1, "fast"));
    EXPECT_FALSE(p.open(0, "9600,n,8,1"));
    EXPECT_FALSE(p.open(17, "9600,n,8,1"));
    EXPECT_EQ(p.bytesWaiting(), -1);
    EXPECT_FALSE(p.write("G00\r"));
    ::unsetenv("TALVO_COM2");
}

// The count must see what the kernel holds although no event loop has run.
TEST_F(SerialPortTest, CountsCharactersTheKernelHoldsWithoutAnEventLoop) {
    sim.inject("COK\r");
    int n = 0;
    for (int i = 0; i < 1000 && n < 4; ++i) {
        serial.waitForInput(5);
        n = serial.bytesWaiting();
    }
    EXPECT_EQ(n, 4);
    EXPECT_EQ(serial.readAll(), "COK\r");
    EXPECT_EQ(serial.bytesWaiting(), 0);
}

TEST_F(SerialPortTest, HungUpLineClosesThePortOnce) {
    sim.stop();
    for (int i = 0; i < 100 && serial.isOpen(); ++i) {
        serial.waitForInput(10);
        serial.bytesWaiting();
    }
    EXPECT_FALSE(serial.isOpen());
    EXPECT_EQ(serial.bytesWaiting(), -1);
    EXPECT_EQ(serial.readAll(), "");
    EXPECT_FALSE(serial.write("G00\r"));
}


// The port hands input over a CR-ended line at a time, every byte exactly as it
// came: no character of the line edits it, ends it early or is dropped. Only LF
// also ends a line, and stays in it.
TEST_F(SerialPortTest, HandsOverWholeLinesWithEveryByteAsItCame) {
    const std::string line = std::string("A\0B", 3) + "\x7f\x15\x04\x03\x1a\x11\x13\x16\x17\x12\x0f\x1c\xe9\xff" + "C\r";
    ASSERT_TRUE(injectAndWait(line.substr(0, line.size() - 1)));
    EXPECT_EQ(serial.bytesWaiting(), 0) << "a line whose CR has not come";
    EXPECT_EQ(serial.readAll(), "");
    ASSERT_TRUE(injectAndWait("\r"));
    EXPECT_EQ(serial.bytesWaiting(), static_cast<int>(line.size()));
    EXPECT_EQ(serial.readAll(), line);

    ASSERT_TRUE(injectAndWait("D1\nD2\r"));
    steadyClock.waitMs(100, nullptr);  // the second line too
    std::string got;
    for (int i = 0; i < 3; ++i) got += serial.readAll();
    EXPECT_EQ(got, "D1\nD2\r");
}

// Character by character on request (the quiet guard counts characters), and an
// unfinished line can be dropped.
TEST_F(SerialPortTest, CharactersOnRequestAndUnfinishedLinesDropped) {
    ASSERT_TRUE(injectAndWait("xy"));
    EXPECT_EQ(serial.bytesWaiting(), 0);
    serial.setWholeLines(false);
    EXPECT_EQ(serial.bytesWaiting(), 2);
    EXPECT_EQ(serial.readAll(), "xy");
    serial.setWholeLines(true);

    ASSERT_TRUE(injectAndWait("D9"));
    serial.dropInput();
    ASSERT_TRUE(injectAndWait("COK\r"));
    EXPECT_EQ(serial.readAll(), "COK\r");
}

// A reply coming at 9600 bit/s wakes a waiter once, not once a character.
TEST_F(SerialPortTest, AReplyOnAPacedLineWakesTheWaiterOnce) {
    sim.setPaced(true);
    sim.inject("D12:+012.345\r");
    std::string got;
    int wakeUps = 0;
    while (got.find('\r') == std::string::npos && wakeUps < 50) {
        serial.waitForInput(2000);
        ++wakeUps;
        got += serial.readAll();
    }
    EXPECT_EQ(wakeUps, 1);
    EXPECT_EQ(got, "D12:+012.345\r");
}
