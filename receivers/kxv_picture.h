#pragma once
// How the KXV sub-pages show a picture: the picture control becomes a centred bitmap and takes
// the bitmap resource as its image.

#include "platform/afx.h"

namespace kxv {

void ShowPicture(CWnd& dialog, int pictureId, UINT bitmapId);

// The bitmap a picture control of `dialog` shows, 0 for none.
UINT ShownPicture(const CWnd& dialog, int pictureId);

}  // namespace kxv
