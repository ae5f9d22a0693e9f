// Renders the HART master dialog after a block upload from the simulator to a
// PNG file, so its look can be checked by eye:  hart_dialog_screenshot OUTPUT_DIR
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <iostream>

#include "core/Globals.h"
#include "core/LineTurn.h"
#include "core/Protocol.h"
#include "platform/qt/Modal.h"
#include "platform/qt/QtServices.h"
#include "screens/skeleton/CardScreens.h"
#include "screens/universal_in/frmXR4.h"
#include "screens/universal_in/frmXR_HART.h"
#include "shell/ChildForms.h"
#include "shell/frmTalvo.h"
#include "sim/Simulator.h"

using namespace talvo;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: hart_dialog_screenshot OUTPUT_DIR\n";
        return 2;
    }
    QApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    k6sim::Station station;
    std::string error;
    if (!k6sim::loadStation(K6SIM_STATIONS_DIR "/universal.k6", station, error)) {
        std::cerr << error << "\n";
        return 1;
    }
    k6sim::Simulator sim(station);
    if (!sim.start()) return 1;
    ::setenv("TALVO_COM1", sim.devicePath().c_str(), 1);
    platform::QtPlatform platformServices;
    screens::RegisterCardScreens();

    shell::frmTalvo window;
    window.show();
    platform::setModalHandler([](QDialog& d) {
        d.findChild<QPushButton*>("CmdOK")->click();
        return d.result();
    });
    window.findChild<QAction*>("mnuConnectConnect")->trigger();
    window.findChild<QPushButton*>("CmdUpload")->click();

    window.findChild<QComboBox*>("cboCardNo")->setCurrentIndex(4);
    auto* screen = dynamic_cast<screens::frmXR4*>(shell::childForms().screen(G().CurFormType));
    if (!screen) return 1;
    if (!QTest::qWaitFor([&] { return !screen->busy() && !ExchangeWaiting() && !ActionsWaiting(); }, 3000)) return 1;
    bool saved = false;
    platform::setModalHandler([&](QDialog& d) {
        auto& dlg = dynamic_cast<screens::frmXR_HART&>(d);
        dlg.show();
        dlg.CmdUpload->click();
        QTest::qWait(100);
        const QString path = dir + "/frmXR_HART.png";
        saved = dlg.grab().save(path);
        std::cout << (saved ? "" : "could not write ") << path.toStdString() << "\n";
        dlg.CmdExit->click();
        return d.result();
    });
    screen->SetHART[0]->click();
    platform::setModalHandler({});
    window.findChild<QComboBox*>("cboCardNo")->setCurrentIndex(0);
    return saved ? 0 : 1;
}
