#pragma once
// What the document layer needs from the user: Yes/No questions and error boxes, each a text
// from the string table. The desktop programmer answers with message boxes; tests script answers.

#include <string>
#include <vector>

namespace zr4700 {

// Identifiers of the string table.
enum StringId : int {
    kStrSaveQuestion = 32779,      // "Do you want to save current file?"
    kStrWarning = 32780,           // caption of questions
    kStrError = 32781,             // caption of errors
    kStrCannotOpenFile = 32782,    // "Cannot open file!"
    kStrNoProgrammedKey = 32783,   // "The file contains no programmed key"
    kStrClearKeyQuestion = 32784,  // "Clear key %s ?"
    kStrClearAllQuestion = 32785,  // "Clear all keys ?"
    kStrInsertKeyQuestion = 32786, // "Insert %s to key %d ?"
    kStrGroupKeyError = 32787,     // "Group key error"
    kStrUntitled = 32788,          // "untitled"
    kStrSaveFilter = 32789,        // the save dialog's filter
    kStrRangeMessage = 32790,      // "Please enter an integer between %1 and %2."
    kStrIntegerMessage = 32791,    // "Please enter an integer."
    kStrPositiveMessage = 32792,   // "Please enter a positive integer."
    kStrByteRangeMessage = 32793,  // "Please enter an integer between 0 and 255."
    kStrTitle = 32800,             // "ZR-4700 - keyboard programmer  -  [%s]"
    kStrCaptureTitle = 32801,      // "Insert scan-codes by pressing key"
    // Texts of the programmer's own, beyond the classic set.
    kStrSwitchTo56Question = 34000, // the switch to 56 keys clears keys 57..112
    kStrSaveAsDropsCodes = 34001,   // a 7/3scan save keeps fewer codes than keys hold
    kStrSaveAsDropsSide = 34002,    // a single-side save leaves the other side's keys out
    kStrTransferIncomplete = 34003, // a transfer ended before its last byte
    kStrOpenFilterLayouts = 34004,  // the Open dialog's first file type
    kStrOpenFilterAll = 34005,      // the Open dialog's second file type
    kStrFileCorrected = 34006,      // a file was read with corrected values
    kStrProgramDropsCodes = 34020,  // the keyboard found takes 7/3scan, which drops codes
};

class UserPrompts {
  public:
    virtual ~UserPrompts() = default;
    // A Yes/No question captioned "Warning" with the exclamation icon; true only for Yes.
    // The arguments fill the text's %s and %d placeholders in order.
    virtual bool AskYesNo(int stringId, const std::vector<std::string>& args = {}) = 0;
    // An error captioned "Error" with the stop icon and one OK button.
    virtual void ShowError(int stringId, const std::vector<std::string>& args = {}) = 0;
    // The same with a second, smaller text below the first that says why or what exactly; the
    // first line stays the string table's text. Without a way to show a detail, the box alone.
    virtual void ShowErrorDetail(int stringId, const std::vector<std::string>& args,
                                 const std::string& detail) {
        (void)detail;
        ShowError(stringId, args);
    }
    // A notice captioned "Warning" with the exclamation icon and one OK button, with a detail.
    // Every kind of prompts must show it: a warning is never dropped unseen.
    virtual void ShowWarningDetail(int stringId, const std::vector<std::string>& args,
                                   const std::string& detail) = 0;
    // A question as AskYesNo, with a detail below its text.
    virtual bool AskYesNoDetail(int stringId, const std::vector<std::string>& args,
                                const std::string& detail) {
        (void)detail;
        return AskYesNo(stringId, args);
    }
};

// Fills %s, %d (in order) and %1, %2 (by number) of a string-table text.
std::string FormatMessage(const std::string& text, const std::vector<std::string>& args);

} // namespace zr4700
