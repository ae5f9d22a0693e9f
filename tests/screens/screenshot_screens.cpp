// Renders every card screen of the default station after an Upload to PNG files,
// so their look can be checked by eye:  screens_screenshots OUTPUT_DIR [STATION_FILE]
// With a station file the pictures are named by screen code and slot (GB10_1.png).
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "core/CardList.h"
#include "core/Globals.h"
#include "core/Protocol.h"
#include "platform/qt/Modal.h"
#include "platform/qt/QtServices.h"
#include "screens/skeleton/CardScreen.h"
#include "screens/skeleton/CardScreens.h"
#include "shell/ChildForms.h"
#include "shell/frmTalvo.h"
#include "sim/Simulator.h"

using namespace talvo;

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: screens_screenshots OUTPUT_DIR [STATION_FILE]\n";
        return 2;
    }
    k6sim::Station station = k6sim::defaultStation();
    std::string error;
    if (argc == 3 && !k6sim::loadStation(argv[2], station, error)) {
        std::cerr << argv[2] << ": " << error << "\n";
        return 2;
    }
    QApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
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

    auto* list = window.findChild<QComboBox*>("cboCardNo");
    for (int slot = 1; slot <= 16; ++slot) {
        list->setCurrentIndex(slot);
        auto* s = dynamic_cast<screens::CardScreen*>(shell::childForms().screen(G().CurFormType));
        if (!s) continue;
        if (!QTest::qWaitFor([&] { return !s->busy() && !ExchangeWaiting(); }, 3000)) continue;
        if (s->uploadButton()->isVisible()) {
            s->uploadButton()->click();
            QTest::qWait(30);
            if (!QTest::qWaitFor([&] { return !s->busy() && !ExchangeWaiting(); }, 10000)) continue;
        }
        QTest::qWait(std::max(600, s->waitForTimer().interval() + 200));  // one live read after it
        const QString name =
            QString::fromStdString(G().CurFormType) + (argc == 3 ? QString("_%1").arg(slot) : QString());
        const QString path = dir + "/" + name + ".png";
        std::cout << (window.grab().save(path) ? "" : "could not write ") << path.toStdString() << "\n";
    }
    list->setCurrentIndex(0);
    // The overview after one monitoring pass, with the rows the card screens fill.
    QTest::qWait(100);
    ReadAllCardsCycData({});
    QTest::qWait(100);
    const QString over = dir + "/Over" + (argc == 3 ? QString("_monitoring") : QString()) + ".png";
    std::cout << (window.grab().save(over) ? "" : "could not write ") << over.toStdString() << "\n";
    return 0;
}
