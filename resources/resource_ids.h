#pragma once
// Resource ids of dialogs, pictures, icons and strings.

constexpr unsigned IDR_MAINFRAME = 128;  // application icon
constexpr unsigned IDS_ABOUTBOX = 101;   // the system menu's about item
constexpr unsigned IDS_APP_TITLE = 0xE000;

// Pictures of the sensor pages and the mode confirmation boxes.
constexpr unsigned IDB_AIR_SPEED_SENSOR = 142;
constexpr unsigned IDB_CURRENT_SENSOR_150A = 143;
constexpr unsigned IDB_WIRING_NOTICE = 155;
constexpr unsigned IDB_LAMP_ON = 228;
constexpr unsigned IDB_LAMP_OFF = 229;
