#include "core/files/FileCommands.h"

#include <algorithm>
#include <filesystem>

namespace zr4700 {

namespace {

constexpr int kNamesListed = 3;

void AddName(DroppedKeys& dropped, const std::string& name) {
    if (++dropped.keys > kNamesListed)
        return;
    if (!dropped.names.empty())
        dropped.names += ", ";
    dropped.names += name;
}

} // namespace

DroppedKeys KeysLosingCodes(const Layout& layout, FileVariant variant) {
    DroppedKeys dropped;
    if (variant != FileVariant::Scan7)
        return dropped;
    // 7/3scan keeps 7 codes per key with 56 keys and 3 with 112.
    dropped.codesKept = layout.keyCount == kMaxKeys ? 3 : 7;
    for (int k = 1; k <= layout.keyCount; ++k) {
        const KeyCodes& codes = layout.key(k).codes;
        const bool loses = std::any_of(codes.begin() + dropped.codesKept, codes.end(),
                                       [](int32_t code) { return code != 0; });
        if (layout.key(k).programmed() && loses)
            AddName(dropped, layout.key(k).name);
    }
    return dropped;
}

DroppedKeys KeysLeftOut(const Layout& layout, FileVariant variant) {
    DroppedKeys dropped;
    int first = 0;
    if (variant == FileVariant::LeftSide)
        first = kBlockKeys + 1;
    else if (variant == FileVariant::RightSide)
        first = 1;
    else
        return dropped;
    for (int k = first; k < first + kBlockKeys && k <= layout.keyCount; ++k) {
        if (layout.key(k).programmed())
            AddName(dropped, layout.key(k).name);
    }
    return dropped;
}

bool FileCommands::New() {
    if (document_.modified() && document_.prompts().AskYesNo(kStrSaveQuestion)) {
        if (!Save())
            return false;
    }
    document_.Reset();
    return true;
}

void FileCommands::Open() {
    const std::optional<std::string> path = host_.ChooseFileToOpen();
    if (!path)
        return;
    OpenPath(*path);
}

void FileCommands::OpenPath(const std::string& path) {
    if (!New())
        return;
    document_.SetFileName(path);
    LoadCurrentFile();
}

void FileCommands::OpenRecent(int n) {
    // The entry is taken before the save question: a Save As run from it puts its own file at
    // the front of the list and moves the chosen entry down.
    const std::string path = recentFiles_.Entry(n);
    if (path.empty())
        return;
    OpenPath(path);
}

void FileCommands::LoadCurrentFile() {
    // The file is read into a copy of the new layout (the window is named after the file while
    // it is read, so that a message stands over it); a file that is no layout never reaches the
    // document, which is left new and untitled for the model it had.
    Layout loaded = document_.layout();
    ReadRecord record;
    if (zr4700::ReadLayoutFile(loaded, document_.prompts(), &record) != ReadResult::Read) {
        document_.Reset();
        return;
    }
    recentFiles_.Push(loaded.fileName);
    host_.RecentFilesChanged();
    loaded.RebuildCellGroups(document_.prompts());
    // What the reader corrected is no longer the file's content: the layout counts as changed
    // wherever its history goes, so that it is saved over the file only when the user says so.
    document_.Load(loaded, !record.empty());
    if (!record.empty())
        document_.prompts().ShowWarningDetail(kStrFileCorrected, {}, DescribeCorrections(record));
}

WriteResult FileCommands::WriteLayoutFile(FileVariant variant) {
    // A bad RFID value is reported by the controls themselves; nothing is written then.
    if (!host_.CommitControls())
        return WriteResult::Failed;
    const Layout& layout = document_.layout();
    const WriteResult result = zr4700::WriteLayoutFile(layout, variant, document_.prompts());
    if (result != WriteResult::Failed)
        document_.Saved(layout.fileName, Is16Scan(variant));
    return result;
}

bool FileCommands::Save() {
    if (document_.layout().fileName.empty())
        return SaveAs();
    // Save always writes the 16scan variant, whatever variant the file was read in.
    return WriteLayoutFile(FileVariant::Save) != WriteResult::Failed;
}

bool FileCommands::ConfirmWhatIsDropped(FileVariant variant) {
    const Layout& layout = document_.layout();
    const DroppedKeys codes = KeysLosingCodes(layout, variant);
    if (codes.keys > 0 && !document_.prompts().AskYesNo(kStrSaveAsDropsCodes,
                                                        {std::to_string(codes.codesKept),
                                                         std::to_string(codes.keys), codes.names}))
        return false;
    const DroppedKeys side = KeysLeftOut(layout, variant);
    if (side.keys > 0 &&
        !document_.prompts().AskYesNo(kStrSaveAsDropsSide, {std::to_string(side.keys), side.names}))
        return false;
    return true;
}

bool FileCommands::SaveAs() {
    if (!host_.CommitControls())
        return false;
    const Layout& layout = document_.layout();
    SaveAsOffer offer;
    // A 56-key layout in the 16scan family has no second block to save on its own.
    offer.twoTypesOnly = layout.scan16Mode && layout.keyCount == kBlockKeys;
    offer.initial = layout.scan16Mode ? FileVariant::Scan16 : FileVariant::Scan7;
    const std::optional<SaveAsChoice> choice = host_.ChooseFileToSaveAs(offer);
    if (!choice || !ConfirmWhatIsDropped(choice->variant))
        return false;

    // A write that fails leaves the file name, the title and the recent list as they were.
    const std::string previousName = layout.fileName;
    document_.SetFileName(choice->path, std::filesystem::path(choice->path).filename().string());
    if (WriteLayoutFile(choice->variant) == WriteResult::Failed) {
        document_.SetFileName(previousName);
        return false;
    }
    recentFiles_.Push(choice->path);
    host_.RecentFilesChanged();
    ReadBack(choice->variant);
    return true;
}

void FileCommands::ReadBack(FileVariant variant) {
    // The editor then holds the layout as the file just written gives it back: a 7/3scan save
    // keeps codes 1..7 only, a single-side save gives a 56-key layout of the chosen block. When
    // that is the layout as it was, nothing changes; otherwise the read-back is one step of the
    // history, so that undo gives back what the file type left out.
    const Layout& layout = document_.layout();
    Layout readBack;
    readBack.keyCount = layout.keyCount;
    readBack.scan16Mode = layout.scan16Mode;
    readBack.fileIsScan16 = layout.fileIsScan16;
    readBack.fileName = layout.fileName;
    if (zr4700::ReadLayoutFile(readBack, document_.prompts()) != ReadResult::Read)
        return;
    readBack.RebuildCellGroups(document_.prompts());
    const char* typeKey = variant == FileVariant::Scan7       ? "fileType.scan7"
                          : variant == FileVariant::LeftSide  ? "fileType.leftSide"
                          : variant == FileVariant::RightSide ? "fileType.rightSide"
                                                              : "";
    document_.LoadReadBack(readBack, typeKey);
}

} // namespace zr4700
