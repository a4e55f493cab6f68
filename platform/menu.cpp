#include "platform/menu.h"

#include "platform/styles.h"

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text) {
    m_items.push_back({flags, (flags & MF_SEPARATOR) ? 0 : id, text ? text : ""});
    return TRUE;
}
