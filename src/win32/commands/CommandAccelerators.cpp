#include "win32/commands/CommandAccelerators.h"

#include "win32/Resources.h"

namespace win32 {
namespace {

using zr4700::ShortcutKey;

// The name a menu shows for a key: the string table's for the modifiers and the navigation
// keys (the system's own names differ between systems and keyboard layouts), the character of a
// letter or digit, "F1" for the function key.
std::wstring KeyName(WORD virtualKey) {
    switch (virtualKey) {
    case VK_CONTROL:
        return Resources::String("shortcut.ctrl");
    case VK_SHIFT:
        return Resources::String("shortcut.shift");
    case VK_INSERT:
        return Resources::String("shortcut.insert");
    case VK_DELETE:
        return Resources::String("shortcut.delete");
    case VK_F1:
        return L"F1";
    default:
        return std::wstring(1, static_cast<wchar_t>(virtualKey));
    }
}

} // namespace

WORD VirtualKey(ShortcutKey key) {
    switch (key) {
    case ShortcutKey::None:
        return 0;
    case ShortcutKey::A:
        return 'A';
    case ShortcutKey::C:
        return 'C';
    case ShortcutKey::L:
        return 'L';
    case ShortcutKey::N:
        return 'N';
    case ShortcutKey::O:
        return 'O';
    case ShortcutKey::P:
        return 'P';
    case ShortcutKey::Q:
        return 'Q';
    case ShortcutKey::S:
        return 'S';
    case ShortcutKey::V:
        return 'V';
    case ShortcutKey::Y:
        return 'Y';
    case ShortcutKey::Z:
        return 'Z';
    case ShortcutKey::Digit1:
        return '1';
    case ShortcutKey::Digit2:
        return '2';
    case ShortcutKey::Digit3:
        return '3';
    case ShortcutKey::Digit4:
        return '4';
    case ShortcutKey::Insert:
        return VK_INSERT;
    case ShortcutKey::Delete:
        return VK_DELETE;
    case ShortcutKey::F1:
        return VK_F1;
    }
    return 0;
}

std::vector<ACCEL> CommandAccelerators(bool withGrid) {
    std::vector<ACCEL> entries;
    for (const zr4700::CommandSpec& spec : zr4700::CommandTable()) {
        if (spec.scope == zr4700::ShortcutScope::Grid && !withGrid)
            continue;
        for (const zr4700::Shortcut& shortcut : spec.shortcuts) {
            const WORD key = VirtualKey(shortcut.key);
            if (key == 0)
                continue;
            BYTE flags = FVIRTKEY;
            if (shortcut.ctrl)
                flags |= FCONTROL;
            if (shortcut.shift)
                flags |= FSHIFT;
            entries.push_back(ACCEL{flags, key, static_cast<WORD>(spec.id)});
        }
    }
    return entries;
}

HACCEL CreateCommandAcceleratorTable(bool withGrid) {
    std::vector<ACCEL> entries = CommandAccelerators(withGrid);
    return CreateAcceleratorTableW(entries.data(), static_cast<int>(entries.size()));
}

std::wstring ShortcutText(const zr4700::Shortcut& shortcut) {
    const WORD key = VirtualKey(shortcut.key);
    if (key == 0)
        return {};
    std::wstring text;
    if (shortcut.ctrl)
        text += KeyName(VK_CONTROL) + L"+";
    if (shortcut.shift)
        text += KeyName(VK_SHIFT) + L"+";
    return text + KeyName(key);
}

} // namespace win32
