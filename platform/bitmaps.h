#pragma once
// Bitmaps and icons loaded by resource id. Pictures are SVG files of our own, registered by the
// resources at start-up; one id always yields the same handle, so showing the same picture
// twice is recognisably the same.

#include "platform/win_types.h"

class QPixmap;
class QIcon;
struct BITMAPHANDLE;
using HBITMAP = BITMAPHANDLE*;
struct ICONHANDLE;
using HICON = ICONHANDLE*;

namespace platform {

// `path` is a Qt resource path (":/...") or a file path to an SVG or PNG picture.
void RegisterBitmap(UINT id, const char* path);
void RegisterIcon(UINT id, const char* path);

HBITMAP LoadBitmapResource(UINT id);  // null when the id is unknown
HICON LoadIconResource(UINT id);      // null when the id is unknown
UINT BitmapResourceId(HBITMAP bitmap);

QPixmap BitmapPixmap(HBITMAP bitmap);
QIcon IconOf(HICON icon);

}  // namespace platform
