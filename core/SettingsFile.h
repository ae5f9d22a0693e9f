#pragma once
// File "Open" and File "Save" of the system settings file: all 17 card records
// in one file, through the platform's file dialogs and message boxes; and the
// whole-file read and save every file of the program goes through.
#include <cstddef>
#include <string>

namespace talvo {

// Through the platform's file store (see platform/Files.h): a bounded read, and
// a save that replaces the file only once all of it is on disk. False with a
// sentence in error.
bool ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& error);
bool SaveWholeFile(const std::string& path, const std::string& bytes, std::string& error);

// Filter of both dialogs; the first choice is selected.
inline constexpr const char* kSettingsFileFilter =
    "uJx Files (*.uJx)|*.uJx|Text Files (*.txt)|*.txt|All Files (*.*)|*.*";

// Reads the chosen file. Only when all 17 records read cleanly are FileType,
// Version, Param and ChOption copied into the card records (CardType stays as
// uploaded), the older 16-channel layout widened, and FileLoaded set. Cancel
// does nothing; any fault (a damaged line, a field with a control character or
// longer than any card value) shows a message box and changes nothing. True
// when the records were loaded.
bool OpenSettingsFile();

// Writes the 17 card records to the chosen file. The file is replaced only once
// the new content is completely on disk, so a failed save keeps the old file.
// Records holding a field that would not read back (a character the format
// cannot carry, or a text longer than any card value) are refused with a
// message naming the field, and nothing is written. Cancel does nothing.
void SaveSettingsFile();

}  // namespace talvo
