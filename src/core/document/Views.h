#pragma once
// What the editor's views show, as plain functions of the document: the window's title, the
// status bar's panes, the names of the steps Undo and Redo would take, the programmed-key list's
// entries. A front end shows these texts as they are; the texts themselves come from its
// resource set through a TextSource, so that a replacement set changes them everywhere.

#include "core/document/Document.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zr4700 {

class TextSource {
  public:
    virtual ~TextSource() = default;
    // The string table's text for a key: a number ("32794") or a name ("status.delay").
    virtual std::string Text(std::string_view key) const = 0;
};

// "ZR-4700 - keyboard programmer  -  [NAME]", "untitled" without a file.
std::string TitleText(const Document& document, const TextSource& texts);

constexpr int kStatusPanes = 7;
// The seven panes: model, keys type, beep, delay, rate, and the number and name of the key under
// the pointer (hoveredKey, 0 for none).
std::array<std::string, kStatusPanes> StatusTexts(const Layout& layout, int hoveredKey,
                                                  const TextSource& texts);

// "Program key 10", "Save As 7/3scan".
std::string StepName(const EditRecord& record, const TextSource& texts);
// The Edit menu's "&Undo Program key 10" or plain "&Undo" when there is no step to undo.
std::string UndoText(const History& history, const TextSource& texts);
std::string RedoText(const History& history, const TextSource& texts);

// A key's name as the user reads it, in UTF-8: a name typed here is UTF-8 already, while the
// bytes of a name from an older single-byte file are Latin-1.
std::string ShownKeyName(std::string_view bytes);
// What assistive tools call a key of the grid: "Key 10, Cash drawer", or "Key 10, not
// programmed" while its cell is blank; empty for a number that is no key.
std::string KeyAccessibleName(const Layout& layout, int key, const TextSource& texts);

} // namespace zr4700
