// Renders the universal and HART input card screens and the HART master dialog
// to PNG files, each before and after an Upload from the simulator, so their
// look can be checked by eye (a setting nothing was read for is drawn as not
// read):  universal_screenshots OUTPUT_DIR
// Pictures: YK4_before/after, YK4A_before/after, XR4_before/after,
// frmXR_HART_before/after, and frmXR_HART_refused after a second Upload whose
// polling address and constant data the card refused.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
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

namespace {

bool save(QWidget& w, const QString& path) {
    const bool saved = w.grab().save(path);
    std::cout << (saved ? "" : "could not write ") << path.toStdString() << "\n";
    return saved;
}

bool quiet(screens::CardScreen* s) {
    return QTest::qWaitFor([&] { return !s->busy() && !ExchangeWaiting() && !ActionsWaiting(); }, 10000);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: universal_screenshots OUTPUT_DIR\n";
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

    // A message box (a transfer's ending) is printed and closed, so nothing waits for a user.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::cout << "message: " << box->text().toStdString() << "\n";
            box->accept();
        }
    });
    answer.start(100);

    shell::frmTalvo window;
    window.show();
    platform::setModalHandler([](QDialog& d) {
        d.findChild<QPushButton*>("CmdOK")->click();
        return d.result();
    });
    window.findChild<QAction*>("mnuConnectConnect")->trigger();
    window.findChild<QPushButton*>("CmdUpload")->click();
    platform::setModalHandler({});

    auto* cards = window.findChild<QComboBox*>("cboCardNo");
    bool ok = true;
    const std::pair<int, QString> shots[] = {{1, "YK4"}, {2, "YK4A"}, {4, "XR4"}};
    for (const auto& [slot, name] : shots) {
        cards->setCurrentIndex(slot);
        auto* s = dynamic_cast<screens::CardScreen*>(shell::childForms().screen(G().CurFormType));
        if (!s || !quiet(s)) return 1;
        ok = save(window, dir + "/" + name + "_before.png") && ok;
        s->uploadButton()->click();
        QTest::qWait(30);
        if (!quiet(s)) return 1;
        QTest::qWait(std::max(600, s->waitForTimer().interval() + 200));  // one live read after it
        ok = save(window, dir + "/" + name + "_after.png") && ok;
    }

    auto* screen = dynamic_cast<screens::frmXR4*>(shell::childForms().screen(G().CurFormType));
    if (!screen) return 1;
    platform::setModalHandler([&](QDialog& d) {
        auto& dlg = dynamic_cast<screens::frmXR_HART&>(d);
        dlg.show();
        QTest::qWait(50);
        ok = save(dlg, dir + "/frmXR_HART_before.png") && ok;
        dlg.CmdUpload->click();
        QTest::qWait(100);
        ok = save(dlg, dir + "/frmXR_HART_after.png") && ok;
        k6sim::Fault poll;
        poll.card = 4;
        poll.group = "01";
        poll.frame = "I30";
        poll.action = k6sim::FaultAction::Reply;
        poll.text = "CNG";
        sim.addFault(poll);
        k6sim::Fault constant = poll;
        constant.frame = "I41";
        sim.addFault(constant);
        dlg.CmdUpload->click();
        QTest::qWait(100);
        ok = save(dlg, dir + "/frmXR_HART_refused.png") && ok;
        sim.clearFaults();
        dlg.CmdExit->click();
        return d.result();
    });
    screen->SetHART[0]->click();
    platform::setModalHandler({});
    cards->setCurrentIndex(0);
    return ok ? 0 : 1;
}
