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

// The file a save dialog's choice is written to: a name typed without an
// extension gets the filter's first one ("station1" with "uJx Files
// (*.uJx)|*.uJx|" becomes "station1.uJx"), so that the next Open, which lists
// only that extension, shows it. A name with an extension stays as typed.
std::string withFilterExtension(const std::string& path, const std::string& filter);
// The same for the entry the user chose in the dialog's list ("Text Files (*.txt)").
std::string withChosenFilterExtension(const std::string& path, const std::string& chosenFilter);

// The open and save dialogs as every command asks for them (filter as
// "Name (*.ext)|*.ext|"). False when the user cancels or there is no dialog;
// a save's path has its extension added as above.
bool AskOpenPath(const std::string& filter, std::string& path);
bool AskSavePath(const std::string& filter, std::string& path);

}  // namespace talvo::platform
