#pragma once
// A dialog window from a template of the current resource set, in the manner of the classic
// class library's CDialog: handlers are virtual members, and a modal run is a message loop of
// the dialog's own, so that the dialog can take keys before its controls do.

#include <windows.h>

namespace win32 {

class Dialog {
  public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the window, modeless; nullptr when the template is missing or creation failed.
    HWND Create(HWND owner);
    // Creates the window (unless it exists), disables the owner and runs the dialog's loop until
    // End; the window is destroyed before it returns. -1 when the window could not be made.
    INT_PTR RunModal(HWND owner);
    // Ends a modal run with a result; on a modeless dialog only the result is kept.
    void End(INT_PTR result);

    HWND hwnd() const { return hwnd_; }
    int templateId() const { return templateId_; }
    bool ended() const { return ended_; }
    INT_PTR result() const { return result_; }
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

    // The dialog manager's keys (Tab, Enter, Escape, mnemonics) for a message of any dialog of
    // this program, the modeless ones included (the progress dialog answers Escape while the
    // main dialog's loop runs); true when the message was handled.
    static bool IsDialogMessageOfAnyDialog(MSG& message);

  protected:
    // The dialog's own messages; the return value as a dialog procedure's (TRUE: handled).
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // TRUE lets the system set the focus on the first control.
    virtual BOOL OnInitDialog() { return TRUE; }
    // A menu command or a control notification; true when handled.
    virtual bool OnCommand(int id, int notification, HWND control);
    virtual void OnOK() { End(IDOK); }
    virtual void OnCancel() { End(IDCANCEL); }
    virtual void OnDestroy() {}
    // A message of the modal loop before it is dispatched; true when taken.
    virtual bool PreTranslateMessage(MSG& message);

  private:
    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);

    int templateId_;
    HWND hwnd_ = nullptr;
    bool ended_ = false;
    INT_PTR result_ = 0;
};

} // namespace win32
