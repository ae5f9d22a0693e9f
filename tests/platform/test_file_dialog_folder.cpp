// Where the open and save dialogs start: never in the folder the program runs
// from, which is what a dialog given no folder would show.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/FileDialogFolder.h"

using namespace talvo::platform;

namespace {

TEST(FileDialogFolder, HomeFirstThenTheFolderLastUsedWithTheSuggestedName) {
    const std::set<std::string> folders = {"/home/ann", "/data/stations", "/"};
    const auto isFolder = [&](const std::string& p) { return folders.count(p) > 0; };
    const struct {
        const char* name;
        const char* last;
        const char* home;
        const char* suggested;
        const char* start;
    } cases[] = {
        {"first time", "", "/home/ann", "", "/home/ann"},
        {"first time, a name suggested", "", "/home/ann", "station.uJx", "/home/ann/station.uJx"},
        {"after a file in another folder", "/data/stations", "/home/ann", "", "/data/stations"},
        {"suggested path: only its name is kept", "/data/stations", "/home/ann", "/opt/talvo/bin/station.uJx",
         "/data/stations/station.uJx"},
        {"suggested relative path", "", "/home/ann", "sub/station.uJx", "/home/ann/station.uJx"},
        {"suggested folder only", "", "/home/ann", "/opt/talvo/", "/home/ann"},
        {"last folder gone since", "/data/removed", "/home/ann", "a.txt", "/home/ann/a.txt"},
        {"no home folder", "", "", "a.txt", "/a.txt"},
        {"home folder missing", "", "/home/nobody", "", "/"},
        {"last folder is the root", "/", "/home/ann", "a.txt", "/a.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fileDialogStartPath(c.last, c.home, c.suggested, isFolder), c.start);
    }
}

TEST(FileDialogFolder, FolderOfTheChosenFile) {
    EXPECT_EQ(folderOf("/data/stations/station.uJx"), "/data/stations");
    EXPECT_EQ(folderOf("/station.uJx"), "/");
    EXPECT_EQ(folderOf("station.uJx"), "");  // no folder known: the next dialog starts at home
}

}  // namespace
