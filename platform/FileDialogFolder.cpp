#include "platform/FileDialogFolder.h"

#include "platform/Services.h"

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

namespace {

// "uJx" for the pattern "*.uJx"; "" for a pattern that names no single
// extension ("*.*", "*.u?x").
std::string patternSuffix(const std::string& pattern) {
    if (pattern.size() < 3 || pattern.compare(0, 2, "*.") != 0 ||
        pattern.find_first_of("*?[", 2) != std::string::npos)
        return {};
    return pattern.substr(2);
}

// The first pattern in a text, from `from` on, up to the end, a "|", ";", ")" or blank.
std::string patternAt(const std::string& text, std::size_t from) {
    if (from == std::string::npos || from > text.size()) return {};
    const std::size_t end = text.find_first_of("|;) ", from);
    return text.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

}  // namespace

std::string filterSuffix(const std::string& filter) {
    const std::size_t bar = filter.find('|');
    return patternSuffix(patternAt(filter, bar == std::string::npos ? bar : bar + 1));
}

std::string chosenFilterSuffix(const std::string& chosenFilter) {
    const std::size_t open = chosenFilter.find('(');
    return patternSuffix(patternAt(chosenFilter, open == std::string::npos ? open : open + 1));
}

std::string withDefaultSuffix(const std::string& path, const std::string& suffix) {
    const std::string name = nameOf(path);
    if (suffix.empty() || name.empty() || name.find('.') != std::string::npos) return path;
    return path + "." + suffix;
}

std::string withFilterExtension(const std::string& path, const std::string& filter) {
    return withDefaultSuffix(path, filterSuffix(filter));
}

bool AskOpenPath(const std::string& filter, std::string& path) {
    FileDialog* dialog = services().files;
    return dialog && dialog->openFile(filter, path);
}

bool AskSavePath(const std::string& filter, std::string& path) {
    FileDialog* dialog = services().files;
    return dialog && dialog->saveFile(filter, path);
}

}  // namespace talvo::platform
