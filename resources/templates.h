#pragma once
// The dialog templates of every page and box, one file per group of dialogs.

namespace resources {

void RegisterTemplates();

void RegisterMainTemplates();
void RegisterPageTemplates();
void RegisterOneStreamSensorTemplates();
void RegisterLipoSensorTemplate();
void RegisterTwoStreamSensorTemplates();
void RegisterRpmSensorTemplate();
void RegisterGpsSensorTemplate();
void RegisterRedundancyBusTemplate();
void RegisterEscTemplate();
void RegisterConverterTemplate();
void RegisterVtxTemplate();
void RegisterFuelKitTemplate();
void RegisterServoTemplate();
void RegisterSensorBoxTemplates();
void RegisterKxvTemplates();
void RegisterRadioTemplates();

}  // namespace resources
