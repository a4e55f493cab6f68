#pragma once
// The platform layer as the program's pages use it: windows, dialogs, controls, data exchange,
// message boxes, files, strings and timers.

#include "platform/afx_controls.h"
#include "platform/bitmaps.h"
#include "platform/cstring.h"
#include "platform/ddx.h"
#include "platform/dialog.h"
#include "platform/dialog_template.h"
#include "platform/exception.h"
#include "platform/file_dialog.h"
#include "platform/geometry.h"
#include "platform/menu.h"
#include "platform/modal_ui.h"
#include "platform/paint_dc.h"
#include "platform/styles.h"
#include "platform/win_app.h"
#include "platform/win_types.h"
#include "platform/wnd.h"
