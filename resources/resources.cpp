#include "resources/resources.h"

#include <QtGlobal>

#include "platform/bitmaps.h"
#include "platform/string_table.h"
#include "resources/resource_ids.h"
#include "resources/templates.h"

static void InitQtResources() {
    Q_INIT_RESOURCE(resources);
}

namespace resources {

void RegisterAll() {
    static bool done = false;
    if (done) return;
    done = true;
    InitQtResources();
    platform::RegisterString(IDS_APP_TITLE, "Kestrova");
    platform::RegisterString(IDS_ABOUTBOX, "关于 Kestrova(&A)...");
    platform::RegisterIcon(IDR_MAINFRAME, ":/pictures/kestrova.svg");
    platform::RegisterBitmap(IDB_AIR_SPEED_SENSOR, ":/pictures/air_speed_sensor.svg");
    platform::RegisterBitmap(IDB_CURRENT_SENSOR_150A, ":/pictures/current_sensor_150a.svg");
    platform::RegisterBitmap(IDB_CURRENT_SENSOR_40A, ":/pictures/current_sensor_40a.svg");
    platform::RegisterBitmap(IDB_LIPO_SENSOR, ":/pictures/lipo_sensor.svg");
    platform::RegisterBitmap(IDB_RPM_SENSOR, ":/pictures/rpm_sensor.svg");
    platform::RegisterBitmap(IDB_VARIOMETER, ":/pictures/variometer.svg");
    platform::RegisterBitmap(IDB_GPS_SENSOR, ":/pictures/gps_sensor.svg");
    platform::RegisterBitmap(IDB_REDUNDANCY_BUS, ":/pictures/redundancy_bus.svg");
    platform::RegisterBitmap(IDB_ESC, ":/pictures/esc.svg");
    platform::RegisterBitmap(IDB_QWIRE_UART_CONVERTER, ":/pictures/qwire_uart_converter.svg");
    platform::RegisterBitmap(IDB_VTX, ":/pictures/vtx.svg");
    platform::RegisterBitmap(IDB_VTX_BANDS, ":/pictures/vtx_bands.svg");
    platform::RegisterBitmap(IDB_FUEL_KIT, ":/pictures/fuel_kit.svg");
    platform::RegisterBitmap(IDB_SERVO_ZA3, ":/pictures/servo_za3.svg");
    platform::RegisterBitmap(IDB_WIRING_NOTICE, ":/pictures/wiring_notice.svg");
    platform::RegisterBitmap(IDB_LAMP_ON, ":/pictures/lamp_on.svg");
    platform::RegisterBitmap(IDB_LAMP_OFF, ":/pictures/lamp_off.svg");
    platform::RegisterBitmap(IDB_T70_RADIO, ":/pictures/t70_radio.svg");
    platform::RegisterBitmap(IDB_T90_RADIO, ":/pictures/t90_radio.svg");
    platform::RegisterBitmap(IDB_KXV_CAL_LEFT_SIDE, ":/pictures/kxv_cal_left_side.svg");
    platform::RegisterBitmap(IDB_KXV_CAL_UPSIDE_DOWN, ":/pictures/kxv_cal_upside_down.svg");
    platform::RegisterBitmap(IDB_KXV_CAL_RIGHT_SIDE, ":/pictures/kxv_cal_right_side.svg");
    platform::RegisterBitmap(IDB_KXV_CAL_NOSE_UP, ":/pictures/kxv_cal_nose_up.svg");
    platform::RegisterBitmap(IDB_KXV_CAL_NOSE_DOWN, ":/pictures/kxv_cal_nose_down.svg");
    platform::RegisterBitmap(IDB_KXV_CAL_FLAT, ":/pictures/kxv_cal_flat.svg");
    platform::RegisterBitmap(IDB_KXV_MOUNT_BOTTOM, ":/pictures/kxv_mount_bottom.svg");
    platform::RegisterBitmap(IDB_KXV_MOUNT_LEFT_UP, ":/pictures/kxv_mount_left_up.svg");
    platform::RegisterBitmap(IDB_KXV_MOUNT_RIGHT_UP, ":/pictures/kxv_mount_right_up.svg");
    platform::RegisterBitmap(IDB_KXV_MOUNT_LEVEL, ":/pictures/kxv_mount_level.svg");
    platform::RegisterBitmap(IDB_KXV_WING_FLYING, ":/pictures/kxv_wing_flying.svg");
    platform::RegisterBitmap(IDB_KXV_WING_NORMAL, ":/pictures/kxv_wing_normal.svg");
    platform::RegisterBitmap(IDB_KXV_WING_VTAIL, ":/pictures/kxv_wing_vtail.svg");
    RegisterTemplates();
}

}  // namespace resources
