#pragma once
// Whole files, read with a bound and saved atomically: every file the program
// reads or writes (the settings file, the dialogs' files) goes through here.
#include <cstddef>
#include <string>

namespace talvo::platform {

class FileStore {
public:
    virtual ~FileStore() = default;
    // Reads a regular file, but never much more than maxBytes: a longer file
    // gives maxBytes + 1 bytes, enough for the caller to refuse it. Opening does
    // not wait, so a pipe picked by mistake cannot hang the program. False with
    // the system's sentence in error ("No such file or directory.").
    virtual bool read(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& error) = 0;
    // Replaces the file's content only once all the bytes are on disk; on any
    // failure the file stays as it was and nothing else is left beside it. A
    // replaced file keeps its permissions. A path that is not valid UTF-8 text
    // is refused: the file would land under another name. False with a
    // sentence in error.
    virtual bool save(const std::string& path, const std::string& bytes, std::string& error) = 0;
};

}  // namespace talvo::platform
