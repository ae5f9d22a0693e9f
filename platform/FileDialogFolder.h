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

}  // namespace talvo::platform
