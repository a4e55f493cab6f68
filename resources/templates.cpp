#include "resources/templates.h"

namespace resources {

void RegisterTemplates() {
    // Empty frames first: a page that has its own template registers it later and replaces its
    // frame.
    RegisterPageTemplates();
    RegisterOneStreamSensorTemplates();
    RegisterLipoSensorTemplate();
    RegisterTwoStreamSensorTemplates();
    RegisterRpmSensorTemplate();
    RegisterGpsSensorTemplate();
    RegisterRedundancyBusTemplate();
    RegisterEscTemplate();
    RegisterConverterTemplate();
    RegisterVtxTemplate();
    RegisterFuelKitTemplate();
    RegisterServoTemplate();
    RegisterSensorBoxTemplates();
    RegisterKxvTemplates();
    RegisterRadioTemplates();
    RegisterMainTemplates();
}

}  // namespace resources
