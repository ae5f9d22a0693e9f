#pragma once
// A card screen in the real main window, against the simulator's default station:
// connected and uploaded, then a slot is picked in the card list.
#include <QTest>
#include <QTimer>
#include <chrono>
#include <functional>
#include <map>
#include <memory>

#include "core/Protocol.h"
#include "screens/skeleton/CardScreen.h"
#include "screens/skeleton/CardScreens.h"
#include "screens/skeleton/TextBoxes.h"
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
    // The user's own edit of a box: its text, then the edit signal the user's typing gives.
    static void type(QLineEdit* b, const std::string& t) {
        screens::setBoxText(b, t);
        Q_EMIT b->textEdited(b->text());
    }

    CardRecord& record(int slot) { return *G().CardRecords.get(slot); }

    // Runs `action` once, as soon as `cond` holds, from whatever event loop runs
    // then (also those a waiting exchange runs, that is while a routine holds
    // the line): so it can act in the middle of a tick. Watches run side by
    // side; one not fired yet goes with the window.
    void when(std::function<bool()> cond, std::function<void()> action) {
        auto* timer = new QTimer(window.get());
        timer->setInterval(1);
        QObject::connect(timer, &QTimer::timeout, [timer, cond, action] {
            if (!cond()) return;
            timer->stop();
            timer->deleteLater();
            action();
        });
        timer->start();
    }

    // The data frames so far as "slot|group/item:data", the slot being the card
    // selected then ("?" before the first select).
    std::vector<std::string> stamped() const { return StampFrames(sim.frames()); }

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
