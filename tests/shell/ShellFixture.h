#pragma once
// The main window against the simulator: the window is built once the simulator
// runs; the port stays closed until a test connects through the menu.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <string>

#include "core/Globals.h"
#include "core/MainView.h"
#include "platform/qt/Modal.h"
#include "shell/EndProgram.h"
#include "shell/frmComPort.h"
#include "shell/frmTalvo.h"
#include "tests/support/SimFixture.h"

namespace talvo::test {

class ShellTest : public SimTest {
public:
    ShellTest() { autoOpen = false; }

    void SetUp() override {
        SimTest::SetUp();
        window = std::make_unique<shell::frmTalvo>();
        shell::setEndProgram([this] { ++endCalls; });
    }
    void TearDown() override {
        platform::setModalHandler({});
        shell::setEndProgram({});
        window.reset();
    }

    // A fresh program run: port closed, start state, a new main window.
    void restartWindow() {
        serial.close();
        window.reset();
        resetProgramState();
        window = std::make_unique<shell::frmTalvo>();
        messages.shown.clear();
        sim.clearFaults();
        sim.clearFrames();
    }

    template <typename W = QWidget>
    W* child(const char* name) const {
        W* w = window->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QPushButton* button(const char* name) const { return child<QPushButton>(name); }
    QAction* menu(const char* name) const { return child<QAction>(name); }
    QComboBox* cardList() const { return child<QComboBox>("cboCardNo"); }
    QString labelText(const char* name) const { return child<QLabel>(name)->text(); }

    // Answers the next modal dialogs with `handler`; `dialog` is the dialog to drive.
    void onModal(std::function<void(QDialog& dialog)> handler) {
        platform::setModalHandler([handler](QDialog& d) {
            handler(d);
            return d.result();
        });
    }
    // Menu Connect, then "OK" on COM1 in the COM-port dialog.
    void connectThroughMenu() {
        onModal([](QDialog& d) {
            auto& dlg = dynamic_cast<shell::frmComPort&>(d);
            dlg.portList()->setCurrentIndex(0);
            dlg.findChild<QPushButton*>("CmdOK")->click();
        });
        menu("mnuConnectConnect")->trigger();
        platform::setModalHandler({});
    }
    void connectAndUpload() {
        connectThroughMenu();
        button("CmdUpload")->click();
    }
    std::size_t countFrames(const std::string& frame) const {
        std::size_t n = 0;
        for (const auto& f : sim.frames()) n += f == frame;
        return n;
    }

    k6sim::Simulator& simulator() { return sim; }
    RecordingMessageBox& messageBox() { return messages; }
    FakeFileDialog& fileDialog() { return files; }
    platform::QtSerialPort& port() { return serial; }

    std::unique_ptr<shell::frmTalvo> window;
    int endCalls = 0;
};

}  // namespace talvo::test
