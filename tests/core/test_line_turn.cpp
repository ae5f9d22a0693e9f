// The serial line's turn: holds below the running event loop make the line busy,
// holds of the calling code do not, and what waits runs in order, once, when the
// line is free.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <string>
#include <vector>

#include "core/LineTurn.h"
#include "platform/Services.h"
#include "tests/support/SimFixture.h"

using namespace talvo;

namespace {

class LineTurnCoreTest : public test::SimTest {
protected:
    LineTurnCoreTest() { autoOpen = false; }
    std::vector<std::string> ran;
    // Runs the event loop for a moment, as the program's idle time does.
    void settle() {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 20) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
};

}  // namespace

TEST_F(LineTurnCoreTest, AHoldBusiesTheLineOnlyForHandlersRunOnTopOfIt) {
    EXPECT_TRUE(LineFree());
    {
        LineHold hold;
        EXPECT_TRUE(LineFree());  // the holder's own calls go on talking
        platform::EventLevelScope handler;  // a handler run by the holder's wait
        EXPECT_FALSE(LineFree());
    }
    EXPECT_TRUE(LineFree());
}

TEST_F(LineTurnCoreTest, ActionsAskedForWhileHeldRunInOrderOnceTheLineIsFree) {
    {
        LineHold hold;
        platform::EventLevelScope handler;
        RunWhenLineFree("pick", [this] { ran.push_back("pick 2"); });
        RunWhenLineFree("upload", [this] { ran.push_back("upload"); });
        RunWhenLineFree("pick", [this] { ran.push_back("pick 5"); });  // replaces the older pick
        EXPECT_TRUE(ActionWaiting("pick"));
        EXPECT_FALSE(LineFreeForRoutine());
        settle();
        EXPECT_TRUE(ran.empty());  // still held
    }
    EXPECT_TRUE(ran.empty());  // they run from the event loop, not inside the holder's unwinding
    settle();
    EXPECT_EQ(ran, (std::vector<std::string>{"pick 5", "upload"}));
    EXPECT_FALSE(ActionsWaiting());
}

TEST_F(LineTurnCoreTest, AnActionRunsAtOnceWhenTheLineIsFreeAndNothingWaits) {
    RunWhenLineFree("start", [this] { ran.push_back("start"); });
    EXPECT_EQ(ran, (std::vector<std::string>{"start"}));
}

TEST_F(LineTurnCoreTest, AWaitingActionThatStartsARoutineKeepsTheRestBackUntilItEnds) {
    {
        LineHold hold;
        platform::EventLevelScope handler;
        RunWhenLineFree("first", [this] {
            LineHold routine;  // e.g. a transfer that waits for its replies
            ran.push_back("first begins");
            {
                platform::EventLevelScope itsWait;
                RunWhenLineFree("third", [this] { ran.push_back("third"); });
                EXPECT_FALSE(LineFree());
            }
            ran.push_back("first ends");
        });
        RunWhenLineFree("second", [this] { ran.push_back("second"); });
    }
    settle();
    EXPECT_EQ(ran, (std::vector<std::string>{"first begins", "first ends", "second", "third"}));
}
