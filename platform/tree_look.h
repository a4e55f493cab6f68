#pragma once
// What a tree view's style bits show: the dotted lines that join items to their parents and
// siblings, the plus and minus boxes of items with children, and the whole text of an item the
// tree shows cut off, in a tip while the mouse rests on it.

#include <QTreeWidget>

#include "platform/win_types.h"

namespace platform {

void ApplyTreeStyle(QTreeWidget* tree, DWORD style);

}  // namespace platform
