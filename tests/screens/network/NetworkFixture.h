#pragma once
// The communication card dialogs in the real main window against the
// simulator: a station described in the test, connected and uploaded, then a
// dialog opened through its button and driven from the modal handler.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <functional>
#include <string>

#include "platform/qt/Modal.h"
#include "screens/CardScreens.h"
#include "sim/Simulator.h"
#include "tests/shell/ShellFixture.h"
#include "ui/DialogBoxes.h"
#include "ui/SettingsDialog.h"

namespace talvo::test {

class NetworkTest : public ShellTest {
public:
    void SetUp() override {
        screens::RegisterCardScreens();
        ShellTest::SetUp();
    }

    // Describes the station, connects and uploads the card list.
    void connectTo(const std::string& stationText) {
        k6sim::Station s;
        std::string error;
        ASSERT_TRUE(k6sim::parseStation(stationText, s, error)) << error;
        sim.setStation(s);
        connectAndUpload();
        ASSERT_TRUE(G().Connected);
        messages.shown.clear();
        sim.clearFrames();
    }

    // Clicks a main-window button that shows a dialog of type D; `drive` gets
    // the dialog once it is on screen and has run its opening.
    template <class D>
    void withDialog(const char* mainButton, const std::function<void(D&)>& drive) {
        bool ran = false;
        onModal([&](QDialog& d) {
            auto* dlg = dynamic_cast<D*>(&d);
            ASSERT_NE(dlg, nullptr);
            d.show();
            ASSERT_TRUE(QTest::qWaitFor([&] { return dlg->opened(); }, 20000));
            ran = true;
            drive(*dlg);
        });
        button(mainButton)->click();
        platform::setModalHandler({});
        EXPECT_TRUE(ran) << mainButton << " showed no dialog";
    }

    template <class W = QLineEdit>
    static W* in(QWidget& d, const QString& name) {
        W* w = d.findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    static std::string text(QWidget& d, const QString& name) { return ui::text(in(d, name)); }
    static void type(QWidget& d, const QString& name, const std::string& t) { ui::setText(in(d, name), t); }
    static void click(QWidget& d, const char* name) { in<QPushButton>(d, name)->click(); }
    // Whether a control would show with its dialog (its own visibility flag).
    static bool shown(QWidget& d, const QString& name) {
        QWidget* w = in<QWidget>(d, name);
        return w && !w->isHidden();
    }

    // Whether the frames so far hold this run of frames.
    bool framesContain(const std::vector<std::string>& run) const {
        const auto f = sim.frames();
        return std::search(f.begin(), f.end(), run.begin(), run.end()) != f.end();
    }

    // The frames from the first one equal to `first` on.
    std::vector<std::string> framesFrom(const std::string& first) const {
        const auto f = sim.frames();
        auto it = std::find(f.begin(), f.end(), first);
        return {it, f.end()};
    }
};

}  // namespace talvo::test
