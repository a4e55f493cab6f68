#pragma once
// A menu as the program builds one: the main window's system menu with its extra item.

#include <string>
#include <vector>

#include "platform/win_types.h"

class CMenu {
  public:
    struct Item {
        UINT flags;
        UINT_PTR id;
        std::string text;
    };

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr);
    int GetMenuItemCount() const { return static_cast<int>(m_items.size()); }
    const std::vector<Item>& Items() const { return m_items; }

  private:
    std::vector<Item> m_items;
};
