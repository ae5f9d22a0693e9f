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
#include <cmath>
#include <functional>
#include <string>

#include "platform/qt/Modal.h"
#include "screens/skeleton/CardScreens.h"
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
    // The user's own edit of a box: its text, then the edit signal the user's typing gives.
    static void type(QWidget& d, const QString& name, const std::string& t) {
        QLineEdit* box = in(d, name);
        ui::setText(box, t);
        Q_EMIT box->textEdited(box->text());
    }
    static void click(QWidget& d, const char* name) { in<QPushButton>(d, name)->click(); }
    // Whether a control would show with its dialog (its own visibility flag).
    static bool shown(QWidget& d, const QString& name) {
        QWidget* w = in<QWidget>(d, name);
        return w && !w->isHidden();
    }

    // The contrast of a box's text on its face, as the box draws them (a
    // disabled box with its disabled colours): 1 to 21, 4.5 reads well.
    static double contrast(const QLineEdit* box) {
        const QPalette::ColorGroup g = box->isEnabled() ? QPalette::Active : QPalette::Disabled;
        const auto luminance = [](const QColor& c) {
            const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
            return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
        };
        const double a = luminance(box->palette().color(g, QPalette::Text));
        const double b = luminance(box->palette().color(g, QPalette::Base));
        return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
    }
    // A value shown for reading only: a read-only box whose text reads well.
    static void expectDisplayOnly(const QLineEdit* box) {
        EXPECT_TRUE(box->isReadOnly()) << box->objectName().toStdString();
        EXPECT_GE(contrast(box), 4.5) << box->objectName().toStdString();
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
