#pragma once
// The File menu's New, Open, Save and Save As, the recent-file commands and the load sequence
// they share, on the document. What needs a person (choosing a file, the controls' values being
// typed) is asked of the host, and every message goes through the prompts.
//
// No path through these commands throws the user's layout away unasked: when the user answers
// Yes to "Do you want to save current file?" and the save does not happen (the Save As dialog is
// cancelled, or the file cannot be written), the command that asked stops and the layout stays
// open, unchanged and still marked modified. A file that is not a layout never becomes the
// document: the layout is left new and untitled, and the file stays off the recent list, so a
// later Save asks for a name instead of writing over it.

#include "core/document/Document.h"
#include "core/files/LayoutFileEditor.h"
#include "core/files/RecentFileList.h"

#include <optional>
#include <string>

namespace zr4700 {

// What Save As offers: all four file types, or the first two only, and the type shown first.
struct SaveAsOffer {
    bool twoTypesOnly = false;
    FileVariant initial = FileVariant::Scan16;
};

struct SaveAsChoice {
    std::string path;
    FileVariant variant = FileVariant::Scan16;
};

class FileCommandsHost {
  public:
    virtual ~FileCommandsHost() = default;
    // The values in the controls reach the document, validated; false after a field's message.
    virtual bool CommitControls() = 0;
    virtual std::optional<std::string> ChooseFileToOpen() = 0;
    // The dialog itself asks before an existing file is overwritten.
    virtual std::optional<SaveAsChoice> ChooseFileToSaveAs(const SaveAsOffer& offer) = 0;
    virtual void RecentFilesChanged() {}
};

// How many programmed keys a variant would lose codes or keys of, and the first few names.
struct DroppedKeys {
    int keys = 0;
    std::string names; // the first three names, ", "-separated
    int codesKept = 0; // for a 7/3scan variant: codes per key it keeps
};
DroppedKeys KeysLosingCodes(const Layout& layout, FileVariant variant);
DroppedKeys KeysLeftOut(const Layout& layout, FileVariant variant);

class FileCommands {
  public:
    FileCommands(Document& document, RecentFileList& recentFiles, FileCommandsHost& host)
        : document_(document), recentFiles_(recentFiles), host_(host) {}

    // The save question, then a new layout. False when the user wanted to save and it did not
    // happen: nothing was reset then.
    bool New();
    void Open();
    // Opens a path as Open does once the file is chosen (the command line, tests).
    void OpenPath(const std::string& path);
    void OpenRecent(int n);
    bool Save();
    bool SaveAs();
    // Reads the document's file name into the layout.
    void LoadCurrentFile();
    // The controls' values, then the file at the document's name in a variant.
    WriteResult WriteLayoutFile(FileVariant variant);

  private:
    // Asks before a variant that cannot hold the whole layout drops part of it.
    bool ConfirmWhatIsDropped(FileVariant variant);
    // After Save As: the layout as the written file gives it back.
    void ReadBack(FileVariant variant);

    Document& document_;
    RecentFileList& recentFiles_;
    FileCommandsHost& host_;
};

} // namespace zr4700
