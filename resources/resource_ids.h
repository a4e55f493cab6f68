#pragma once
// Resource ids of dialogs, pictures, icons and strings.

constexpr unsigned IDR_MAINFRAME = 128;  // application icon
constexpr unsigned IDS_ABOUTBOX = 101;   // the system menu's about item
constexpr unsigned IDS_APP_TITLE = 0xE000;

// Pictures of the sensor pages and the mode confirmation boxes.
constexpr unsigned IDB_AIR_SPEED_SENSOR = 142;
constexpr unsigned IDB_CURRENT_SENSOR_150A = 143;
constexpr unsigned IDB_CURRENT_SENSOR_40A = 144;
constexpr unsigned IDB_LIPO_SENSOR = 146;
constexpr unsigned IDB_RPM_SENSOR = 148;
constexpr unsigned IDB_VARIOMETER = 150;
constexpr unsigned IDB_GPS_SENSOR = 145;
constexpr unsigned IDB_REDUNDANCY_BUS = 147;
constexpr unsigned IDB_WIRING_NOTICE = 155;
constexpr unsigned IDB_ESC = 223;
constexpr unsigned IDB_QWIRE_UART_CONVERTER = 149;
constexpr unsigned IDB_VTX = 270;
constexpr unsigned IDB_VTX_BANDS = 269;
constexpr unsigned IDB_FUEL_KIT = 414;
constexpr unsigned IDB_SERVO_ZA3 = 279;
constexpr unsigned IDB_LAMP_ON = 228;
constexpr unsigned IDB_LAMP_OFF = 229;

// Pictures of the KXV sub-pages: the wing types, the mounting positions and the six
// calibration positions of the receiver case.
constexpr unsigned IDB_KXV_CAL_LEFT_SIDE = 178;
constexpr unsigned IDB_KXV_CAL_UPSIDE_DOWN = 179;
constexpr unsigned IDB_KXV_CAL_RIGHT_SIDE = 180;
constexpr unsigned IDB_KXV_CAL_NOSE_UP = 181;
constexpr unsigned IDB_KXV_CAL_NOSE_DOWN = 182;
constexpr unsigned IDB_KXV_CAL_FLAT = 183;
constexpr unsigned IDB_KXV_MOUNT_BOTTOM = 184;
constexpr unsigned IDB_KXV_MOUNT_LEFT_UP = 185;
constexpr unsigned IDB_KXV_MOUNT_RIGHT_UP = 186;
constexpr unsigned IDB_KXV_MOUNT_LEVEL = 187;
constexpr unsigned IDB_KXV_WING_FLYING = 188;
constexpr unsigned IDB_KXV_WING_NORMAL = 189;
constexpr unsigned IDB_KXV_WING_VTAIL = 190;

// Pictures of the radios on the model-creation pages.
constexpr unsigned IDB_T70_RADIO = 275;
constexpr unsigned IDB_T90_RADIO = 276;
