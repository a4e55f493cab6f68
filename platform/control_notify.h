#pragma once
// How a native control tells its parent window what the user did: WM_COMMAND for buttons,
// edits and combo boxes, WM_NOTIFY for trees and tabs, always through the parent's dispatch.

#include "platform/win_types.h"

class QWidget;
class QTreeWidget;
struct NMHDR;

namespace platform {

void NotifyCommand(QWidget* control, UINT code);
LRESULT NotifyParent(QWidget* control, NMHDR* header);
// Auto radio buttons: clicking one clears the others of its group (WS_GROUP to WS_GROUP).
void UncheckRadioSiblings(QWidget* radio);
void ConnectTreeNotifications(QTreeWidget* tree);

}  // namespace platform
