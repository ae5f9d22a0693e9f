// Renders the main window and its small dialogs to PNG files, connected to an
// in-process simulator with the default station after an Upload, so their look
// can be checked by eye:  shell_screenshots OUTPUT_DIR
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <iostream>

#include "core/MainView.h"
#include "platform/qt/Modal.h"
#include "platform/qt/QtServices.h"
#include "shell/frmComPort.h"
#include "shell/frmTalvo.h"
#include "shell/frmVersion.h"
#include "sim/Simulator.h"

using namespace talvo;

namespace {
bool save(QWidget& w, const QString& dir, const char* name) {
    const QString path = dir + "/" + name + ".png";
    const bool ok = w.grab().save(path);
    std::cout << (ok ? "" : "could not write ") << path.toStdString() << "\n";
    return ok;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: shell_screenshots OUTPUT_DIR\n";
        return 2;
    }
    QApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    k6sim::Simulator sim;
    if (!sim.start()) return 1;
    ::setenv("TALVO_COM1", sim.devicePath().c_str(), 1);
    platform::QtPlatform platformServices;

    shell::frmTalvo window;
    window.show();
    bool ok = save(window, dir, "main_start");

    platform::setModalHandler([&](QDialog& d) {
        d.show();
        ok = save(d, dir, "com_port") && ok;
        d.findChild<QPushButton*>("CmdOK")->click();
        return d.result();
    });
    window.findChild<QAction*>("mnuConnectConnect")->trigger();

    // The progress window, caught while the upload runs.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* w = window.findChild<QWidget*>("frmLoading");
        if (!w || !w->isVisible()) return;
        poll.stop();
        ok = save(*w, dir, "progress") && ok;
    });
    poll.start(1);
    window.findChild<QPushButton*>("CmdUpload")->click();
    ok = save(window, dir, "main_uploaded") && ok;
    // An actuator whose card has not answered its stop, as the window shows it.
    window.setStopsOwed("Stop owed: slot 15");
    ok = save(window, dir, "main_stop_owed") && ok;
    window.setStopsOwed("");

    // The line drops while monitoring: the message, then the disconnected look.
    QTimer drop;
    QObject::connect(&drop, &QTimer::timeout, [&] {
        bool passed = false;
        for (const auto& f : sim.frames()) passed = passed || f == "D16";
        if (!passed) return;
        drop.stop();
        k6sim::Fault hangUp;
        hangUp.frame = "I10";
        hangUp.card = 8;
        hangUp.action = k6sim::FaultAction::DropLine;
        sim.addFault(hangUp);
    });
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box) return;
        answer.stop();
        ok = save(*box, dir, "line_lost_message") && ok;
        box->done(QDialog::Accepted);
    });
    sim.clearFrames();
    drop.start(2);
    answer.start(5);
    window.findChild<QPushButton*>("cmdStart")->click();  // returns when monitoring has ended
    ok = save(window, dir, "main_line_lost") && ok;

    shell::frmVersion version(&window);
    version.show();
    ok = save(version, dir, "version") && ok;
    platform::setModalHandler({});
    return ok ? 0 : 1;
}
