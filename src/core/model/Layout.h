#pragma once
// The one layout the programmer edits: the key table with its cell state, partners and group
// numbers, the programmed-key list, the selection, the key panel's values, the keyboard and RFID
// settings and the document state. Every editing command works on this object, so each can be
// run and tested without a window; the main dialog owns one and mirrors it in its controls.

#include "core/document/UserPrompts.h"
#include "core/model/KeyRecord.h"
#include "core/model/KeyboardSettings.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zr4700 {

// The grid widget and the main dialog listen to the document. Tests record the calls.
class LayoutObserver {
  public:
    virtual ~LayoutObserver() = default;
    // A cell picture was (re)drawn at a key: the grid repaints that place.
    virtual void KeyCellDrawn(int key, int picture) {
        (void)key;
        (void)picture;
    }
    // The key panel's members changed: push them into the controls.
    virtual void PanelChanged() {}
    // The "Programmed keys:" combo box items or its selection changed.
    virtual void ProgrammedKeyComboChanged() {}
};

// The values the key panel shows for one key.
struct KeyPanel {
    std::string panelName;
    uint32_t panelNumber = 0;
    std::array<std::string, kCodeSlots> panelCodeNames;
    int32_t panelGroup = 0;
    int32_t panelSingle = 0;
    int32_t panelMode = 0;
};

class Layout;
// The entries of "Programmed keys:" as the list shows them, sorted by name: the name, plus " *"
// while a key carries it.
std::vector<std::string> ProgrammedKeyItems(const Layout& layout);

class Layout {
  public:
    Layout();

    void SetObserver(LayoutObserver* observer) { observer_ = observer; }

    // ---- Key table ------------------------------------------------------------------------
    std::array<KeyRecord, kKeyTableSize> keyTable;
    int32_t keyCount = 56;
    std::array<CellState, kMaxKeys + 1> cellState{}; // indexed by key number, 0 unused
    std::array<std::array<int32_t, 3>, kMaxKeys + 1> partners{};
    uint8_t nextGroupNumber = 1;

    KeyRecord& key(int k) { return keyTable[static_cast<std::size_t>(k)]; }
    const KeyRecord& key(int k) const { return keyTable[static_cast<std::size_t>(k)]; }
    CellState& state(int k) { return cellState[static_cast<std::size_t>(k)]; }
    CellState state(int k) const { return cellState[static_cast<std::size_t>(k)]; }

    // ---- Selection and document state -----------------------------------------------------
    int32_t currentKey = 0;
    int32_t shownKey = 0;
    std::string fileName;
    bool scan16Mode = true;   // the variant family last written or read
    int32_t fileIsScan16 = 1; // the program starts in the 16scan family

    KeyboardSettings settings;
    RfidSettings rfid;
    KeyPanel panel;

    // ---- Programmed-key list ----------------------------------------------------------------
    // Entries in the order they were added (never removed one by one); programmedKeyOrder maps a
    // combo-box position to an entry index, sorted by name. The list grows as needed.
    std::vector<ProgrammedKeyEntry> programmedKeyList;
    std::vector<int32_t> programmedKeyOrder;
    int32_t programmedKeyCount() const { return static_cast<int32_t>(programmedKeyList.size()); }
    // The combo box's selected position (-1: none); its items are ProgrammedKeyItems.
    int32_t programmedKeyComboSelection = -1;

    // ---- Key operations --------------------------------------------------------------------
    void ResetKey(int key, bool blank);
    void CopyKeyContents(int dst, int src);
    void PropagateToGroup(int key);

    // ---- New layout -------------------------------------------------------------------------
    // The document part of the new-layout reset: file name, flags, settings and RFID defaults,
    // every key blank, group counter 1, list emptied, key 1 selected. The title and the status
    // bar are the window's business.
    void ResetLayout();

    // ---- Grid -------------------------------------------------------------------------------
    void DrawKeyCell(int key, int picture); // tells the observer; keys outside 1..112 ignored
    void DrawAllKeyCells();
    void RedrawKeyCell(int key);
    // Makes k the shown key: records the key being left in the list, fills the panel.
    void SelectKey(int k);
    // Shows a selection as it stood (undo, redo) without recording anything in the list: the
    // pictures, the panel from the shown key or the chosen entry, the list's items.
    void ShowSelection(int current, int shown, int chosenEntry);
    void SelectNextKey();
    void SelectPreviousKey();
    void SelectKeyBelow();
    void SelectKeyAbove();
    // The key number under a point of the client surface, 0 off the grid (checks the bounds).
    int KeyAt(int x, int y) const;

    // ---- Cell shapes ------------------------------------------------------------------------
    // The popup's shape commands on currentKey; each returns whether a cell was formed.
    bool FormDoubleRight();
    bool FormDoubleDown();
    bool FormQuad();
    void SplitCell(bool blank);
    // After a file load: cells from the keys' group flags and codes, group numbers afresh, key 1
    // selected, the programmed-key list rebuilt. A pair that is neither side by side nor one above
    // the other gives the "Group key error" box.
    void RebuildCellGroups(UserPrompts& prompts);

    // ---- Programmed-key list ---------------------------------------------------------------
    void RebuildProgrammedKeyList();
    void SortProgrammedKeyList();
    void FillProgrammedKeyCombo();
    void UpdateProgrammedKeyList();
    void SelectProgrammedKeyEntry();
    void SetProgrammedKeyComboSelection(int position);

    // ---- Key editing commands ----------------------------------------------------------------
    // Which popup items are enabled for currentKey (the popup's rules).
    struct PopupState {
        bool single = true, toRight = true, toDown = true, quad = true;
        bool clearKey = true, clearAll = true, copyKey = true;
    };
    PopupState PopupStateFor(int k) const;
    // After the capture dialog returned OK with these slots and names (EditKeyCodes step 3).
    void ApplyCapturedCodes(const KeyCodes& codeSlots,
                            const std::array<std::string, kCodeSlots>& codeNames,
                            UserPrompts& prompts);
    void CopyKey(UserPrompts& prompts);  // "Copy key"
    void ClearKey(UserPrompts& prompts); // "Clear Key"
    void ClearAll(UserPrompts& prompts); // "Clear All"
    // Clears the current key's cell as "Clear Key" does once the user said Yes.
    void ClearCurrentCell();

    // ---- Key panel ----------------------------------------------------------------------------
    void OnPreviousKey();
    void OnNextKey();
    void KeyNameChanged(const std::string& name); // the name field's text changed
    void SingleKeyChanged(bool single);           // "Single key" clicked
    void SetMode(int mode);                       // "Mode 1".."Mode 3" clicked (0..2)
    void OnSetModeForAll();
    void OnSetFlagForAll(bool single);
    void OnProgrammedKeySelected(int position);

    // ---- Keyboard settings ---------------------------------------------------------------------
    // Brings keys 57..112 in line with keyCount after the settings dialog closed.
    void AlignKeysWithKeyCount();

  private:
    bool FormDouble(int k, int other, bool placeAllows, int picture);
    void MakeQuad(const std::array<int, 4>& members);

    LayoutObserver* observer_ = nullptr;
    LayoutObserver nullObserver_;
    LayoutObserver& observer() { return observer_ ? *observer_ : nullObserver_; }
    friend class LayoutTestAccess;
};

} // namespace zr4700
