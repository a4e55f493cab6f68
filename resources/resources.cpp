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
    RegisterTemplates();
}

}  // namespace resources
