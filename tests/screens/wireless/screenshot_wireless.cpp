// Renders the wireless card settings dialogs after their reads from an
// in-process simulator to PNG files, so their look can be checked by eye:
//   wireless_screenshots OUTPUT_DIR
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <iostream>

#include "core/Globals.h"
#include "platform/qt/Modal.h"
#include "platform/qt/QtServices.h"
#include "screens/skeleton/CardScreens.h"
#include "shell/frmTalvo.h"
#include "sim/Simulator.h"
#include "ui/SettingsDialog.h"

using namespace talvo;

namespace {

struct Shot {
    const char* name;
    const char* station;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: wireless_screenshots OUTPUT_DIR\n";
        return 2;
    }
    QApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    k6sim::Simulator sim;
    if (!sim.start()) return 1;
    ::setenv("TALVO_COM1", sim.devicePath().c_str(), 1);
    platform::QtPlatform platformServices;
    screens::RegisterCardScreens();

    const Shot shots[] = {
        {"frmOXF_300", "comm K6-OXF1:RUN version K6-OXF1:3.00\n"},
        {"frmOXF_213", "comm K6-OXF1:RUN version K6-OXF1:2.13\n"},
        {"frmOXF1F", "comm K6-OXF1F:RUN version K6-OXF1F:1.00\n  set 00 55 RELAY\n  set 17 46 3\n"},
        {"frmOG_300", "comm K6-OG1:RUN version K6-OG1:3.00\n"},
        {"frmOG_206", "comm K6-OG1:RUN version K6-OG1:2.06\n"},
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
        platform::setModalHandler([&](QDialog& d) {
            d.show();
            auto* s = dynamic_cast<ui::SettingsDialog*>(&d);
            if (!s || !QTest::qWaitFor([&] { return s->opened() && !s->busy(); }, 20000)) ok = false;
            QTest::qWait(50);
            const QString path = dir + "/" + shot.name + ".png";
            const bool saved = d.grab().save(path);
            std::cout << (saved ? "" : "could not write ") << path.toStdString() << "\n";
            ok = saved && ok;
            d.reject();
            return d.result();
        });
        window.findChild<QPushButton*>("cmdSpecialSetting")->click();
        platform::setModalHandler({});
    }
    return ok ? 0 : 1;
}
