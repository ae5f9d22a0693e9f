#pragma once
#include "platform/Files.h"

namespace talvo::platform {

// Reads through the system's file calls; saves through QSaveFile.
class QtFileStore : public FileStore {
public:
    bool read(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& error) override;
    bool save(const std::string& path, const std::string& bytes, std::string& error) override;
};

}  // namespace talvo::platform
