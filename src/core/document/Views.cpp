#include "core/document/Views.h"

#include <string>

namespace zr4700 {

namespace {

constexpr int kStrModel56 = 32794;
constexpr int kStrModel112 = 32795;
constexpr int kStrTypematic = 32796;
constexpr int kStrMakeBreak = 32797;
constexpr int kStrBeepOn = 32798;
constexpr int kStrBeepOff = 32799;

std::string Number(int id, const TextSource& texts) {
    return texts.Text(std::to_string(id));
}

// Replaces the first placeholder of a text.
std::string Fill(std::string text, std::string_view placeholder, const std::string& value) {
    const std::size_t at = text.find(placeholder);
    if (at != std::string::npos)
        text.replace(at, placeholder.size(), value);
    return text;
}

std::string MenuText(const EditRecord* step, const char* plainKey, const char* stepKey,
                     const TextSource& texts) {
    if (!step)
        return texts.Text(plainKey);
    return Fill(texts.Text(stepKey), "%1", StepName(*step, texts));
}

} // namespace

std::string TitleText(const Document& document, const TextSource& texts) {
    const std::string& name = document.shownFileName();
    const std::string shown = name.empty() ? Number(kStrUntitled, texts) : name;
    return FormatMessage(Number(kStrTitle, texts), {shown});
}

std::array<std::string, kStatusPanes> StatusTexts(const Layout& layout, int hoveredKey,
                                                  const TextSource& texts) {
    const KeyboardSettings& s = layout.settings;
    std::array<std::string, kStatusPanes> panes;
    panes[0] = Number(layout.keyCount == kBlockKeys ? kStrModel56 : kStrModel112, texts);
    panes[1] = Number(s.keysType != 0 ? kStrTypematic : kStrMakeBreak, texts);
    panes[2] = Number(s.keyBeep != 0 ? kStrBeepOn : kStrBeepOff, texts);
    panes[3] = Fill(texts.Text("status.delay"), "%d", std::to_string(s.keyDelay));
    panes[4] = Fill(texts.Text("status.rate"), "%d", std::to_string(s.typematicRate));
    if (hoveredKey >= 1 && hoveredKey <= kMaxKeys) {
        panes[5] = Fill(texts.Text("status.number"), "%d", std::to_string(hoveredKey));
        panes[6] = Fill(texts.Text("status.name"), "%s", layout.key(hoveredKey).name);
    } else {
        panes[5] = texts.Text("status.noNumber");
        panes[6] = texts.Text("status.noName");
    }
    return panes;
}

std::string StepName(const EditRecord& record, const TextSource& texts) {
    std::string name = texts.Text(StepNameKey(record.kind));
    if (!record.detail.empty())
        return Fill(name, "%s", texts.Text(record.detail));
    return Fill(name, "%d", std::to_string(record.key));
}

std::string UndoText(const History& history, const TextSource& texts) {
    return MenuText(history.UndoStep(), "edit.undo", "edit.undoStep", texts);
}

std::string RedoText(const History& history, const TextSource& texts) {
    return MenuText(history.RedoStep(), "edit.redo", "edit.redoStep", texts);
}

std::string ShownKeyName(std::string_view bytes) {
    std::size_t i = 0;
    bool valid = true;
    while (i < bytes.size() && valid) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = byte < 0x80           ? 1
                                   : (byte >> 5) == 0x6  ? 2
                                   : (byte >> 4) == 0xE  ? 3
                                   : (byte >> 3) == 0x1E ? 4
                                                         : 0;
        valid = length > 0 && i + length <= bytes.size();
        for (std::size_t j = 1; valid && j < length; ++j)
            valid = (static_cast<unsigned char>(bytes[i + j]) & 0xC0) == 0x80;
        i += length;
    }
    if (valid)
        return std::string(bytes);
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

std::string KeyAccessibleName(const Layout& layout, int key, const TextSource& texts) {
    if (key < 1 || key > kMaxKeys)
        return {};
    const std::string number = std::to_string(key);
    if (layout.state(key) == CellState::Blank)
        return FormatMessage(texts.Text("a11y.blankKey"), {number});
    return FormatMessage(texts.Text("a11y.key"), {number, ShownKeyName(layout.key(key).name)});
}

} // namespace zr4700
