#pragma once
// The parts every sensor page's template shares, so each page's template holds only what is its
// own: the style bits of its kinds of control, and the common controls (the five operation
// buttons, the progress bar, the "information" box with the hint line, the connection state
// and the device picture) at the places a page gives or at the usual ones.

#include <vector>

#include "platform/dialog_template.h"
#include "platform/styles.h"

namespace resources {

constexpr DWORD kChildPage = WS_CHILD | DS_CONTROL;
constexpr DWORD kButtonStyle = WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kEditStyle = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kReadOnlyEditStyle = kEditStyle | ES_READONLY;
constexpr DWORD kLabelStyle = WS_VISIBLE;
constexpr DWORD kRightLabelStyle = WS_VISIBLE | SS_RIGHT;
constexpr DWORD kGroupStyle = WS_VISIBLE | BS_GROUPBOX;
constexpr DWORD kBitmapStyle = WS_VISIBLE | SS_BITMAP;
constexpr DWORD kDropListStyle = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;

// Where a page puts its common controls; the defaults are those of the one-value pages.
struct SensorFrame {
    const char* picture = nullptr;  // the device picture's bitmap as "#id"; none when null
    short pictureX = 399, pictureY = 7, pictureCx = 200, pictureCy = 185;
    short buttonsX = 19, buttonsY = 276;  // the row Monitoring .. Default Settings, 63 apart
    bool monitoring = true;               // the video transmitter page has no Monitoring
    short infoX = 337, infoY = 217, infoCx = 262, infoCy = 160;  // "information" and its hint
    bool hint = true;
    short connectionX = 11, connectionY = 196;  // "Connection State:" and its lamp beside it
};

// A sensor page of 606 x 384 dialog units in the sensor pages' font.
platform::DialogTemplate SensorPageTemplate(UINT id, std::vector<platform::ControlTemplate> own,
                                            const SensorFrame& frame = {});

// A label and the edit to its right, as one row: the label's right edge stands 6 units before
// the edit.
void AppendLabeledEdit(std::vector<platform::ControlTemplate>& controls, int labelId,
                       const char* label, int editId, short editX, short y, short labelCx,
                       short editCx = 40, DWORD editStyle = kEditStyle);

}  // namespace resources
