#include "win32/CAboutDlg.h"

#include "win32/Resources.h"

namespace win32 {

CAboutDlg::~CAboutDlg() {
    if (picture_)
        DeleteObject(picture_);
}

BOOL CAboutDlg::OnInitDialog() {
    // The static control would load its picture from the program's own resources; the picture
    // of the current set (a resource library's, when one is in use) is put in instead.
    picture_ = Resources::LoadBitmap(kPictureId);
    if (picture_) {
        const LRESULT previous = SendDlgItemMessageW(hwnd(), kPictureId, STM_SETIMAGE, IMAGE_BITMAP,
                                                     reinterpret_cast<LPARAM>(picture_));
        if (previous)
            DeleteObject(reinterpret_cast<HGDIOBJ>(previous));
    }
    return TRUE;
}

} // namespace win32
