#pragma once
// Where the open and save dialogs start. Plain code, so it is tested without a
// window.
#include <functional>
#include <string>

namespace talvo::platform {

// The path a file dialog starts at: the folder last used while it still is a
// folder, otherwise the user's home folder (the root folder when even that is
// missing), so a dialog never starts in the folder the program was started
// from or installed in. A file name the caller suggests keeps its name, but
// goes into that folder.
std::string fileDialogStartPath(const std::string& lastFolder, const std::string& home,
                                const std::string& suggested,
                                const std::function<bool(const std::string&)>& isFolder);

// The folder of a file the user chose, where the next dialog starts.
std::string folderOf(const std::string& file);

// The extension a save dialog adds to a name typed without one: that of the
// filter's first pattern ("uJx" for "uJx Files (*.uJx)|*.uJx|"), or of the list
// entry the user chose ("txt" for "Text Files (*.txt)"); "" when the pattern
// names none ("*.*").
std::string filterSuffix(const std::string& filter);
std::string chosenFilterSuffix(const std::string& chosenFilter);
// The name a save dialog writes for what was typed: a name without an
// extension gets the suffix ("station1" becomes "station1.uJx"), so that the
// next Open, which lists only that extension, shows it; a name with an
// extension stays as typed. The dialog does this before it asks whether to
// replace an existing file, so the question is about the file that is written.
std::string withDefaultSuffix(const std::string& path, const std::string& suffix);
// The same with the suffix of a filter's first pattern.
std::string withFilterExtension(const std::string& path, const std::string& filter);

// The open and save dialogs as every command asks for them (filter as
// "Name (*.ext)|*.ext|"). False when the user cancels or there is no dialog;
// a save's path is the file to write, its extension added by the dialog.
bool AskOpenPath(const std::string& filter, std::string& path);
bool AskSavePath(const std::string& filter, std::string& path);

}  // namespace talvo::platform
