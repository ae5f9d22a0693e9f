#include "core/SettingsFile.h"

#include <string>
#include <utility>

#include "core/Globals.h"
#include "core/SettingsFormat.h"
#include "platform/FileDialogFolder.h"
#include "platform/Services.h"

namespace talvo {

namespace {

void showError(const std::string& text) {
    if (auto* box = platform::services().messages) box->show(text, "", platform::MsgIcon::None);
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& error) {
    platform::FileStore* store = platform::services().store;
    if (!store) {
        error = "No file can be read here.";
        return false;
    }
    return store->read(path, maxBytes, bytes, error);
}

bool SaveWholeFile(const std::string& path, const std::string& bytes, std::string& error) {
    platform::FileStore* store = platform::services().store;
    if (!store) {
        error = "No file can be saved here.";
        return false;
    }
    return store->save(path, bytes, error);
}

bool OpenSettingsFile() {
    std::string path;
    if (!platform::AskOpenPath(kSettingsFileFilter, path)) return false;

    std::string bytes;
    std::string error;
    SettingsRecords read;
    if (!ReadWholeFile(path, kMaxSettingsFileBytes, bytes, error) || !ParseSettingsFile(bytes, read, error)) {
        showError("Cannot load \"" + path + "\". " + error);
        return false;
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
    return true;
}

void SaveSettingsFile() {
    std::string path;
    if (!platform::AskSavePath(kSettingsFileFilter, path)) return;

    // Checked after the dialog, which lets other handlers run: the records
    // written are the ones checked here.
    const std::string unsavable = FindUnsavableField(G().CardRecords);
    if (!unsavable.empty()) {
        showError(unsavable + " Nothing was saved.");
        return;
    }
    std::string error;
    if (!SaveWholeFile(path, FormatSettingsFile(G().CardRecords), error))
        showError("Cannot save \"" + path + "\". " + error);
}

}  // namespace talvo
