// Renders every card screen of the default station after an Upload to PNG files,
// so their look can be checked by eye:  screens_screenshots OUTPUT_DIR
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
#include "screens/CardScreen.h"
#include "screens/CardScreens.h"
#include "shell/ChildForms.h"
#include "shell/frmTalvo.h"
#include "sim/Simulator.h"

using namespace talvo;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: screens_screenshots OUTPUT_DIR\n";
        return 2;
    }
    QApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    k6sim::Simulator sim;
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
        QTest::qWait(600);  // one live read
        const QString path = dir + "/" + QString::fromStdString(G().CurFormType) + ".png";
        std::cout << (window.grab().save(path) ? "" : "could not write ") << path.toStdString() << "\n";
    }
    list->setCurrentIndex(0);
    return 0;
}
