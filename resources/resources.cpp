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
    platform::RegisterBitmap(IDB_WIRING_NOTICE, ":/pictures/wiring_notice.svg");
    platform::RegisterBitmap(IDB_LAMP_ON, ":/pictures/lamp_on.svg");
    platform::RegisterBitmap(IDB_LAMP_OFF, ":/pictures/lamp_off.svg");
    RegisterTemplates();
}

}  // namespace resources
