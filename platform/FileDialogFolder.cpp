#include "platform/FileDialogFolder.h"

namespace talvo::platform {

namespace {

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string join(const std::string& folder, const std::string& name) {
    if (name.empty()) return folder;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

std::string fileDialogStartPath(const std::string& lastFolder, const std::string& home,
                                const std::string& suggested,
                                const std::function<bool(const std::string&)>& isFolder) {
    std::string folder = "/";
    if (!lastFolder.empty() && isFolder(lastFolder))
        folder = lastFolder;
    else if (!home.empty() && isFolder(home))
        folder = home;
    return join(folder, nameOf(suggested));
}

std::string folderOf(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    if (slash == std::string::npos) return "";
    return slash == 0 ? "/" : file.substr(0, slash);
}

}  // namespace talvo::platform
