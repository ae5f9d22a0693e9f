// Every transfer of the pulse and output screens stops at the first frame the
// card leaves unanswered: one message, the link closed, nothing sent after it.
#include <gtest/gtest.h>

#include "tests/screens/pulse_out/PulseFixture.h"

using namespace talvo;
using namespace talvo::test;
using Frames = std::vector<std::string>;

namespace {

class TransferFailureTest : public PulseTest {};

enum class Command { Upload, Download, Clear, Preset };

}  // namespace

TEST_F(TransferFailureTest, FirstUnansweredFrameStopsTheTransferAndDisconnects) {
    struct Case {
        const char* name;
        int slot;
        Command command;
        std::string silent, group;  // the frame left unanswered, in this group
        std::string message;
        std::string notAfter;  // a frame that would have followed
    };
    const Case cases[] = {
        {"IY4 upload", kIY4, Command::Upload, "I28", "01", "Uploading incomplete", "I13"},
        {"IY4 download", kIY4, Command::Download, "I12", "01", "Downloading incomplete", "I13"},
        {"IY16 upload", kIY16, Command::Upload, "I31", "01", "Uploading incomplete", "I33"},
        {"IY16 clear", kIY16, Command::Clear, "I12", "02", "Downloading incomplete", "I13"},
        {"IY16 preset", kIY16, Command::Preset, "I11", "02", "Downloading incomplete", "I12"},
        {"IY4A upload", kIY4A, Command::Upload, "I16", "01", "Uploading incomplete", "I17"},
        {"IY4A clear", kIY4A, Command::Clear, "I09", "01", "Downloading incomplete", ""},
        {"IY2 clear", kIY2, Command::Clear, "I09", "01", "Downloading incomplete", ""},
        {"IY2 download", kIY2, Command::Download, "I8", "01", "Downloading incomplete", "I50"},
        {"VU32 upload", kVU32, Command::Upload, "I16", "01", "Uploading incomplete", "I17"},
        {"VU32 download", kVU32, Command::Download, "I15", "01", "Downloading incomplete", "I16"},
        {"LQN8 upload", kLQN8, Command::Upload, "I44", "01", "Uploading incomplete", "I45"},
        {"EAJ2 upload", kEAJ2, Command::Upload, "I06", "03", "Uploading incomplete", "I05"},
        {"EAJ2 download", kEAJ2, Command::Download, "I07", "04", "Downloading incomplete", "I06"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restartWindow();
        sim.setStation(pulseStation());
        connectAndUpload();
        messages.shown.clear();
        auto* s = pick(c.slot);
        ASSERT_NE(s, nullptr);
        settle(s);
        // Boxes filled, every preset value acceptable, every channel's Max known.
        upload(s);
        if (c.command == Command::Preset)
            for (QLineEdit* b : s->findChildren<QLineEdit*>())
                if (!b->isReadOnly() && text(b).empty()) type(b, "1");
        useFakeClock();
        k6sim::Fault f = silence(c.silent, c.slot);
        f.group = c.group;
        sim.addFault(f);
        sim.clearFrames();
        switch (c.command) {
            case Command::Upload: upload(s); break;
            case Command::Download: download(s); break;
            case Command::Clear: press(s, s->clearButton()); break;
            case Command::Preset: press(s, s->presetButton()); break;
        }
        EXPECT_EQ(messages.texts(), (Frames{c.message}));
        EXPECT_FALSE(G().Connected);
        if (!c.notAfter.empty()) {
            EXPECT_EQ(countItem(c.group, c.notAfter.substr(1)), 0u);
        }
        platform::services().clock = &steadyClock;
    }
}
