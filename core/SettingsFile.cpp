#include "core/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "core/Globals.h"
#include "core/SettingsFormat.h"
#include "platform/Services.h"

namespace talvo {

namespace {

std::string systemText(int err) { return std::system_category().message(err) + "."; }

void showError(const std::string& text) {
    if (auto* box = platform::services().messages) box->show(text, "", platform::MsgIcon::None);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Reads a regular file, but never much more than a settings file can be: the
// parser refuses anything past the limit, so one byte beyond it is enough.
// The open does not block, so a pipe picked by mistake cannot hang the program.
bool readBounded(const std::string& path, std::string& bytes, std::string& error) {
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        error = systemText(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        error = systemText(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? systemText(EISDIR) : "It is not a regular file.";
        return false;
    }
    bytes.clear();
    std::vector<char> buffer(64 * 1024);
    while (bytes.size() <= kMaxSettingsFileBytes) {
        const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = systemText(errno);
            return false;
        }
        if (n == 0) break;
        bytes.append(buffer.data(), static_cast<std::size_t>(n));
    }
    return true;
}

// The mode a replacement gets: the old file's, or what a new file would get.
mode_t replacementMode(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes the bytes to a new file beside the target and renames it over the
// target only when all of them are on disk; on any failure the temporary file
// goes and the target stays as it was.
bool replaceFile(const std::string& path, const std::string& bytes, std::string& error) {
    std::string tempName = path + ".XXXXXX";
    const int fd = ::mkstemp(tempName.data());
    if (fd < 0) {
        error = systemText(errno);
        return false;
    }
    // A file system without modes refuses this; the save is no worse for it.
    ::fchmod(fd, replacementMode(path));
    int err = 0;
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(tempName.c_str(), path.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(tempName.c_str());
        error = systemText(err);
        return false;
    }
    return true;
}

}  // namespace

void OpenSettingsFile() {
    platform::FileDialog* dialog = platform::services().files;
    std::string path;
    if (dialog == nullptr || !dialog->openFile(kSettingsFileFilter, path)) return;

    std::string bytes;
    std::string error;
    SettingsRecords read;
    if (!readBounded(path, bytes, error) || !ParseSettingsFile(bytes, read, error)) {
        showError("Cannot load \"" + path + "\". " + error);
        return;
    }
    for (int n = 1; n <= CardRecordTable::kCount; ++n) {
        CardRecord& record = *G().CardRecords.get(n);
        CardRecord& fromFile = read[static_cast<std::size_t>(n - 1)];
        record.FileType = std::move(fromFile.FileType);
        record.Version = std::move(fromFile.Version);
        record.Param = std::move(fromFile.Param);
        record.ChOption = std::move(fromFile.ChOption);
        WidenSixteenChannelLayout(record);
    }
    G().FileLoaded = true;
}

void SaveSettingsFile() {
    platform::FileDialog* dialog = platform::services().files;
    std::string path;
    if (dialog == nullptr || !dialog->saveFile(kSettingsFileFilter, path)) return;

    // Checked after the dialog, which lets other handlers run: the records
    // written are the ones checked here.
    const std::string unsavable = FindUnsavableField(G().CardRecords);
    if (!unsavable.empty()) {
        showError(unsavable + " Nothing was saved.");
        return;
    }
    std::string error;
    if (!replaceFile(path, FormatSettingsFile(G().CardRecords), error))
        showError("Cannot save \"" + path + "\". " + error);
}

}  // namespace talvo
