#pragma once
// A card screen in the real main window, against the simulator's default station:
// connected and uploaded, then a slot is picked in the card list.
#include <QTest>
#include <chrono>
#include <map>

#include "core/Protocol.h"
#include "screens/CardScreen.h"
#include "screens/CardScreens.h"
#include "screens/TextBoxes.h"
#include "shell/ChildForms.h"
#include "tests/shell/ShellFixture.h"

namespace talvo::test {

class ScreenTest : public ShellTest {
public:
    void SetUp() override {
        screens::RegisterCardScreens();
        ShellTest::SetUp();
        if (HasFatalFailure()) return;
        connectAndUpload();
        messages.shown.clear();
        sim.clearFrames();
    }

    // Picks a slot in the card list as the user does; returns the screen shown.
    template <typename Screen = screens::CardScreen>
    Screen* pick(int slot) {
        cardList()->setCurrentIndex(slot);
        const std::string code = G().CurFormType;
        auto* s = dynamic_cast<Screen*>(shell::childForms().screen(code));
        EXPECT_NE(s, nullptr) << "slot " << slot << " shows " << code;
        return s;
    }

    // Serves events until cond holds (or ms pass); true when it held.
    template <typename Cond>
    bool waitFor(Cond cond, int ms = 5000) {
        return QTest::qWaitFor(cond, ms);
    }

    // Waits until the screen's running tick is over and the line is quiet.
    void settle(screens::CardScreen* s) {
        waitFor([&] { return !s->busy() && !ExchangeWaiting(); });
    }

    // Runs one request now: raise it by its button, then wait for the tick that serves it.
    void upload(screens::CardScreen* s) { runRequest(s, s->uploadButton()); }
    void download(screens::CardScreen* s) { runRequest(s, s->downloadButton()); }

    static std::string text(const QLineEdit* b) { return screens::boxText(b); }
    static void type(QLineEdit* b, const std::string& t) { screens::setBoxText(b, t); }

    CardRecord& record(int slot) { return *G().CardRecords.get(slot); }

    // Frames from the first one equal to `from` on.
    static std::vector<std::string> from(const std::vector<std::string>& frames, const std::string& first) {
        auto it = std::find(frames.begin(), frames.end(), first);
        return {it, frames.end()};
    }

private:
    void runRequest(screens::CardScreen* s, QPushButton* b) {
        settle(s);
        const auto before = sim.frames().size();
        b->click();
        // The request is served by the next tick, about 10 ms later.
        ASSERT_TRUE(waitFor([&] { return s->busy() || sim.frames().size() > before; }, 3000));
        settle(s);
    }
};

}  // namespace talvo::test
