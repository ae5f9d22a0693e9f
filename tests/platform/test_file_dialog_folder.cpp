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

// The old fault: "station1" was saved without ".uJx", and the next Open, which
// lists only "*.uJx", did not show it. The save dialog adds it now, by these rules.
TEST(FileDialogFolder, ASavedNameWithoutAnExtensionTakesTheFiltersOne) {
    const std::string uJx = "uJx Files (*.uJx)|*.uJx|Text Files (*.txt)|*.txt|";
    const std::string qfo = "qfo Files (*.qfo)|*.qfo|Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
    const struct {
        std::string path, filter, saved;
    } cases[] = {
        {"/home/ann/station1", uJx, "/home/ann/station1.uJx"},
        {"/home/ann/station1.uJx", uJx, "/home/ann/station1.uJx"},
        {"/home/ann/station1.bak", uJx, "/home/ann/station1.bak"},  // the user's own extension stays
        {"/home/ann.d/station1", uJx, "/home/ann.d/station1.uJx"},   // a dot in a folder is no extension
        {"/data/gw", qfo, "/data/gw.qfo"},
        {"/data/gw", "All Files (*.*)|*.*", "/data/gw"},
        {"/data/gw", "no pattern", "/data/gw"},
        {"/data/", uJx, "/data/"},
    };
    for (const auto& c : cases) EXPECT_EQ(withFilterExtension(c.path, c.filter), c.saved) << c.path << " " << c.filter;
    EXPECT_EQ(withDefaultSuffix("/data/notes", chosenFilterSuffix("Text Files (*.txt)")), "/data/notes.txt");
    EXPECT_EQ(withDefaultSuffix("/data/notes", chosenFilterSuffix("All Files (*.*)")), "/data/notes");
    EXPECT_EQ(withDefaultSuffix("/data/notes", chosenFilterSuffix("")), "/data/notes");
    EXPECT_EQ(filterSuffix("og Files (*.og)|*.og|"), "og");
    EXPECT_EQ(filterSuffix("oxf1f Files (*.oxf1f)|*.oxf1f|"), "oxf1f");
    EXPECT_EQ(filterSuffix("rhx Files (*.rhx)|*.rhx|"), "rhx");
}

TEST(FileDialogFolder, FolderOfTheChosenFile) {
    EXPECT_EQ(folderOf("/data/stations/station.uJx"), "/data/stations");
    EXPECT_EQ(folderOf("/station.uJx"), "/");
    EXPECT_EQ(folderOf("station.uJx"), "");  // no folder known: the next dialog starts at home
}

}  // namespace
