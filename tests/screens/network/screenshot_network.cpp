// Renders the communication card dialogs and the gateway screens after their
// reads from an in-process simulator to PNG files, so their look can be
// checked by eye:  network_screenshots OUTPUT_DIR
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "core/Globals.h"
#include "core/Protocol.h"
#include "platform/qt/Modal.h"
#include "platform/qt/QtServices.h"
#include "screens/skeleton/CardScreen.h"
#include "screens/skeleton/CardScreens.h"
#include "shell/ChildForms.h"
#include "shell/frmTalvo.h"
#include "sim/Simulator.h"
#include "ui/SettingsDialog.h"

using namespace talvo;

namespace {

const char* const kGateway =
    "comm K6-QFODH1:RUN version K6-QFODH1:2.00\n"
    "slot 1 QFODH103\n  set 17 62 3,8\n"
    "slot 3 QM13\n  set 00 10 12.5,7\n";

struct Refusal {
    const char* frame;
    const char* group;
};

struct Shot {
    const char* name;
    const char* station;
    const char* button;  // main-window button that opens the dialog; "" for a slot's screen
    int slot = 0;
    // Refused at a second Upload, shown as "<name>_refused".
    std::vector<Refusal> refused = {};
};

bool save(QWidget& w, const QString& dir, const char* name) {
    const QString path = dir + "/" + name + ".png";
    const bool ok = w.grab().save(path);
    std::cout << (ok ? "" : "could not write ") << path.toStdString() << "\n";
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: network_screenshots OUTPUT_DIR\n";
        return 2;
    }
    QApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    k6sim::Simulator sim;
    if (!sim.start()) return 1;
    ::setenv("TALVO_COM1", sim.devicePath().c_str(), 1);
    platform::QtPlatform platformServices;
    screens::RegisterCardScreens();

    // Each dialog as it opens, then after an Upload (and after a second one the
    // card partly refuses): a setting without a value is drawn grey (a check box
    // partly checked), one with a value in the normal colour.
    const Shot shots[] = {
        {"frmComm_OW1", "comm K6-OW1:RUN version K6-OW1:2.04\n  set 00 39 01,80,FF\n  set 17 10 3\n", "cmdComm", 0,
         {{"I09", "00"}, {"I12", "17"}, {"I30", "00"}}},
        {"frmComm_OVRT1W", "comm K6-OVRT1W:RUN version K6-OVRT1W:2.00\n", "cmdComm"},
        {"frmComm_QFODH", "comm K6-QFODH1:RUN version K6-QFODH1:2.00\n", "cmdComm"},
        {"frmEther_OW1", "comm K6-OW1:RUN version K6-OW1:2.04\n", "cmdSpecialSetting", 0,
         {{"I60", "00"}, {"I62", "00"}}},
        {"frmEther_OWUB", "comm K6-OWUB:RUN version K6-OWUB:2.04\n", "cmdSpecialSetting"},
        {"frmOP", "comm K6-OP1:RUN version K6-OP1:1.00\n  set 17 1001 0,1,2,3,4,5,6,7,0,1,2,3,4,5,6,7\n",
         "cmdSpecialSetting", 0, {{"I55", "00"}, {"I27", "17"}, {"I43", "17"}, {"I46", "17"}}},
        {"frmOVRT", "comm K6-OVRT1W:RUN version K6-OVRT1W:2.00\n", "cmdSpecialSetting", 0, {{"I88", "50"}}},
        {"frmQFODH", kGateway, "cmdSpecialSetting", 0, {{"I69", "00"}, {"I60", "00"}, {"I11", "17"}}},
        {"frmQFODHdata", kGateway, "", 1},
        {"frmQx", kGateway, "", 3},
    };
    bool ok = true;
    for (const Shot& shot : shots) {
        k6sim::Station station;
        std::string error;
        if (!k6sim::parseStation(shot.station, station, error)) {
            std::cerr << shot.name << ": " << error << "\n";
            return 1;
        }
        sim.setStation(station);
        G() = Globals{};
        shell::frmTalvo window;
        window.show();
        platform::setModalHandler([](QDialog& d) {
            d.findChild<QPushButton*>("CmdOK")->click();
            return d.result();
        });
        window.findChild<QAction*>("mnuConnectConnect")->trigger();
        platform::setModalHandler({});
        window.findChild<QPushButton*>("CmdUpload")->click();

        if (shot.slot > 0) {
            window.findChild<QComboBox*>("cboCardNo")->setCurrentIndex(shot.slot);
            QTest::qWait(1200);  // the entry and two live reads
            ok = save(window, dir, shot.name) && ok;
            continue;
        }
        platform::setModalHandler([&](QDialog& d) {
            d.show();
            auto* s = dynamic_cast<ui::SettingsDialog*>(&d);
            const auto settle = [&] {
                if (s && !QTest::qWaitFor([&] { return s->opened() && !s->busy(); }, 20000)) ok = false;
                QTest::qWait(50);
            };
            settle();
            ok = save(d, dir, (std::string(shot.name) + "_opened").c_str()) && ok;
            auto* up = d.findChild<QPushButton*>("cmdUp");
            if (up && !up->isHidden()) {
                up->click();
                settle();
                ok = save(d, dir, (std::string(shot.name) + "_uploaded").c_str()) && ok;
                if (!shot.refused.empty()) {
                    for (const Refusal& r : shot.refused) {
                        k6sim::Fault f;
                        f.frame = r.frame;
                        f.group = r.group;
                        f.action = k6sim::FaultAction::Reply;
                        f.text = "CNG";
                        f.count = 1;
                        sim.addFault(f);
                    }
                    up->click();
                    settle();
                    sim.clearFaults();
                    ok = save(d, dir, (std::string(shot.name) + "_refused").c_str()) && ok;
                }
            }
            d.reject();
            return d.result();
        });
        window.findChild<QPushButton*>(shot.button)->click();
        platform::setModalHandler({});
    }
    return ok ? 0 : 1;
}
