// Renders the actuator screen of sim/stations/pulse.k6 before and after its
// Upload and during a close-position setting with a coarse move running, and
// the IY4A screen with its version refused and answered, for a look by eye:
//   pulse_eaj2_screenshot OUTPUT_DIR STATION_FILE
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <iostream>

#include "core/Globals.h"
#include "core/Protocol.h"
#include "platform/qt/Modal.h"
#include "platform/qt/QtServices.h"
#include "screens/skeleton/CardScreens.h"
#include "screens/pulse_out/frmEAJ2.h"
#include "screens/pulse_out/frmIY4A.h"
#include "shell/ChildForms.h"
#include "shell/frmTalvo.h"
#include "sim/Simulator.h"

using namespace talvo;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: pulse_eaj2_screenshot OUTPUT_DIR STATION_FILE\n";
        return 2;
    }
    k6sim::Station station;
    std::string error;
    if (!k6sim::loadStation(argv[2], station, error)) {
        std::cerr << argv[2] << ": " << error << "\n";
        return 2;
    }
    QApplication app(argc, argv);
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
    platform::setModalHandler({});
    window.findChild<QPushButton*>("CmdUpload")->click();

    int slot = 0;
    for (int n = 1; n <= 16 && !slot; ++n)
        if (G().CardRecords.get(n)->CardType.rfind("EAJ", 0) == 0) slot = n;
    if (!slot) return 1;
    window.findChild<QComboBox*>("cboCardNo")->setCurrentIndex(slot);
    auto* s = dynamic_cast<screens::frmEAJ2*>(shell::childForms().screen(G().CurFormType));
    if (!s) return 1;
    const auto idle = [&] { return !s->busy() && !ExchangeWaiting(); };
    if (!QTest::qWaitFor(idle, 3000)) return 1;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const auto save = [&](const char* name) {
        std::cout << (window.grab().save(dir + "/" + name) ? "" : "could not write ") << name << "\n";
    };
    // Before its Upload: the lists show their defaults, drawn as not read.
    save("EAJ2_entry.png");
    s->uploadButton()->click();
    QTest::qWait(30);
    if (!QTest::qWaitFor(idle, 10000)) return 1;
    QTest::qWait(600);
    save("EAJ2_upload.png");

    // A close-position setting with the motor closing until the raw position is in the region.
    s->butMode_Click(1);
    QTest::qWait(700);
    QTest::mousePress(s->CloseCoaseAdjBut, Qt::LeftButton);
    QTest::qWait(1700);
    std::cout << (window.grab().save(dir + "/EAJ2_setting.png") ? "" : "could not write ") << "EAJ2_setting.png\n";
    QTest::mouseRelease(s->CloseCoaseAdjBut, Qt::LeftButton);
    QTest::qWait(700);
    auto* list = window.findChild<QComboBox*>("cboCardNo");
    list->setCurrentIndex(0);

    // IY4A: entered and uploaded with its version refused (the dividing ratios
    // neither "0" nor read), then with it answered, then refused again.
    int iy4a = 0;
    for (int n = 1; n <= 16 && !iy4a; ++n)
        if (G().CardRecords.get(n)->CardType.rfind("IY4A", 0) == 0) iy4a = n;
    if (!iy4a) return 1;
    k6sim::Fault refused;
    refused.frame = "I40";
    refused.card = iy4a;
    refused.group = "00";
    refused.action = k6sim::FaultAction::Reply;
    refused.text = "CNG";
    const auto enterIy4a = [&](bool versionRefused, bool withUpload, const char* name) {
        sim.clearFaults();
        if (versionRefused) sim.addFault(refused);
        list->setCurrentIndex(0);
        QTest::qWait(100);
        list->setCurrentIndex(iy4a);
        auto* f = dynamic_cast<screens::frmIY4A*>(shell::childForms().screen(G().CurFormType));
        if (!f) return false;
        const auto quiet = [&] { return !f->busy() && !ExchangeWaiting(); };
        if (!QTest::qWaitFor(quiet, 3000)) return false;
        if (withUpload) {
            f->uploadButton()->click();
            QTest::qWait(30);
            if (!QTest::qWaitFor(quiet, 10000)) return false;
        }
        QTest::qWait(1200);
        save(name);
        return true;
    };
    if (!enterIy4a(true, false, "IY4A_refused_entry.png") || !enterIy4a(true, true, "IY4A_refused_upload.png") ||
        !enterIy4a(false, true, "IY4A_upload.png") || !enterIy4a(true, false, "IY4A_refused_again.png"))
        return 1;
    sim.clearFaults();
    list->setCurrentIndex(0);
    return 0;
}
