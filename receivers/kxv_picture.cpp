#include "receivers/kxv_picture.h"

namespace kxv {

void ShowPicture(CWnd& dialog, int pictureId, UINT bitmapId) {
    CWnd* picture = dialog.GetDlgItem(pictureId);
    if (!picture) return;
    // The bitmaps live in the resource registry for the whole run, so the control may keep the
    // handle without the page holding on to it.
    picture->ModifyStyle(SS_TYPEMASK, SS_BITMAP | SS_CENTERIMAGE);
    picture->SendMessage(STM_SETIMAGE, IMAGE_BITMAP,
                         reinterpret_cast<LPARAM>(platform::LoadBitmapResource(bitmapId)));
}

UINT ShownPicture(const CWnd& dialog, int pictureId) {
    CWnd* picture = dialog.GetDlgItem(pictureId);
    if (!picture) return 0;
    return platform::BitmapResourceId(
        reinterpret_cast<HBITMAP>(picture->SendMessage(STM_GETIMAGE, IMAGE_BITMAP, 0)));
}

}  // namespace kxv
