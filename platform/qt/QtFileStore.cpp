#include "platform/qt/QtFileStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <cerrno>
#include <system_error>
#include <vector>

namespace talvo::platform {

namespace {

std::string systemText(int err) { return std::system_category().message(err) + "."; }

// Why a QSaveFile step failed, as a sentence: Qt's own words, or where it has
// none ("Unknown error") the system's for the error of the call.
std::string failure(const QSaveFile& file, int err) {
    std::string s = file.errorString().toLocal8Bit().toStdString();
    if ((s.empty() || s == "Unknown error") && err != 0) return systemText(err);
    if (!s.empty() && s.back() != '.') s += '.';
    return s;
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

}  // namespace

bool QtFileStore::read(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& error) {
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
    std::string read;
    std::vector<char> buffer(64 * 1024);
    while (read.size() <= maxBytes) {
        const ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = systemText(errno);
            return false;
        }
        if (n == 0) break;
        read.append(buffer.data(), static_cast<std::size_t>(n));
    }
    if (read.size() > maxBytes + 1) read.resize(maxBytes + 1);
    bytes = std::move(read);
    return true;
}

bool QtFileStore::save(const std::string& path, const std::string& bytes, std::string& error) {
    const QString name = QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()));
    // QSaveFile makes the system's name from the text again. Bytes that are no
    // text in the system's encoding (UTF-8) would come back as other bytes,
    // and the file would be written under a name the user never chose.
    if (QFile::encodeName(name) != QByteArray(path.data(), static_cast<qsizetype>(path.size())) ||
        path.find('\0') != std::string::npos) {
        error = "The file name is not valid UTF-8 text, so the file was not saved.";
        return false;
    }
    // QSaveFile would say it in words of its own.
    if (QFileInfo(name).isDir()) {
        error = systemText(EISDIR);
        return false;
    }
    QSaveFile file(name);
    // Never write the target in place: where no file can be made beside it, the save fails.
    file.setDirectWriteFallback(false);
    errno = 0;
    // Unbuffered, so that a write the disk takes only in part shows here: a
    // buffered QSaveFile can let a short write pass unnoticed at its commit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = failure(file, errno);
        return false;
    }
    const auto size = static_cast<qint64>(bytes.size());
    qint64 done = 0;
    while (done < size) {
        errno = 0;
        const qint64 n = file.write(bytes.data() + done, size - done);
        if (n <= 0) {
            error = failure(file, errno != 0 ? errno : EIO);
            file.cancelWriting();
            return false;
        }
        done += n;
    }
    // Syncs and puts the file in place of the old one; on failure the new one goes.
    errno = 0;
    if (!file.commit()) {
        error = failure(file, errno);
        return false;
    }
    return true;
}

}  // namespace talvo::platform
