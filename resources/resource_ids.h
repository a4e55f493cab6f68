#pragma once
// Resource ids of dialogs, pictures, icons and strings.

constexpr unsigned IDR_MAINFRAME = 128;  // application icon
constexpr unsigned IDS_ABOUTBOX = 101;   // the system menu's about item
constexpr unsigned IDS_APP_TITLE = 0xE000;
