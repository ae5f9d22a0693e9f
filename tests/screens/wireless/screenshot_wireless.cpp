// Renders the wireless card settings dialogs after their reads from an
// in-process simulator to PNG files, so their look can be checked by eye:
//   wireless_screenshots OUTPUT_DIR
// A dialog whose opening the card answered in part ("CNG", "CNU") is shown
// twice: as opened, its settings without a value drawn as not read, and
// after an Upload the card answered in full.
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

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
    // "group/item:reply" of the items the card refuses at the opening; then
    // an Upload it answers in full is shown too.
    std::vector<std::string> refused = {};
};

k6sim::Fault refusal(const std::string& spec) {
    k6sim::Fault f;
    f.group = spec.substr(0, 2);
    f.frame = "I" + spec.substr(3, 2);
    f.card = 0;
    f.action = k6sim::FaultAction::Reply;
    f.text = spec.substr(6);
    return f;
}

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
        {"frmOXF_300_refused", "comm K6-OXF1:RUN version K6-OXF1:3.00\n",
         {"00/56:CNG", "00/60:CNG", "00/55:CNG", "17/34:CNU", "17/42:CNG", "17/43:CNG", "17/45:CNG", "17/29:CNG"}},
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
        sim.clearFaults();
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
        for (const std::string& spec : shot.refused) sim.addFault(refusal(spec));
        platform::setModalHandler([&](QDialog& d) {
            d.show();
            auto* s = dynamic_cast<ui::SettingsDialog*>(&d);
            const auto grab = [&](const QString& name) {
                if (!s || !QTest::qWaitFor([&] { return s->opened() && !s->busy(); }, 20000)) ok = false;
                QTest::qWait(50);
                const QString path = dir + "/" + name + ".png";
                const bool saved = d.grab().save(path);
                std::cout << (saved ? "" : "could not write ") << path.toStdString() << "\n";
                ok = saved && ok;
            };
            grab(shot.name);
            if (!shot.refused.empty()) {
                sim.clearFaults();
                d.findChild<QPushButton*>("cmdUp")->click();
                grab(QString(shot.name) + "_uploaded");
            }
            d.reject();
            return d.result();
        });
        window.findChild<QPushButton*>("cmdSpecialSetting")->click();
        platform::setModalHandler({});
    }
    return ok ? 0 : 1;
}
