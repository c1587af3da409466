#pragma once
// The options of Print legends and Export legends (template 190): arrangement, key pitch, insert
// margin and what the inserts carry. A size outside its range is refused with a message and the
// dialog stays open on that field, as the command line and the Qt front end refuse it. Its texts
// are the string table's, shared with the Qt front end's dialog.

#include "core/legend/LegendSheet.h"
#include "win32/Dialog.h"

#include <deque>
#include <optional>

namespace win32 {

class LegendOptionsDlg final : public Dialog {
  public:
    static constexpr int kTemplateId = 190;
    static constexpr int kArrangementLabel = 1101, kArrangement = 1102;
    static constexpr int kPitchLabel = 1103, kPitch = 1104;
    static constexpr int kMarginLabel = 1105, kMargin = 1106;
    static constexpr int kOnlyProgrammed = 1107, kCodeNames = 1108;

    explicit LegendOptionsDlg(const zr4700::LegendOptions& options)
        : Dialog(kTemplateId), options_(options) {}

    // The options as accepted.
    const zr4700::LegendOptions& options() const { return options_; }

    // Asks for the options, starting from these; false when cancelled. While scripted, no dialog
    // is shown: each call takes the next queued answer (none: Cancel).
    static bool Ask(HWND owner, zr4700::LegendOptions& options);
    static void Script(std::deque<std::optional<zr4700::LegendOptions>> answers = {});
    static void Unscript();
    static int Unanswered();

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

  private:
    // Reads a size in millimetres from low to high; false after telling the user.
    bool ReadSize(int id, const char* messageKey, double low, double high, double& value);

    zr4700::LegendOptions options_;
};

} // namespace win32
