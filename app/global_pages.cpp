#include "app/global_pages.h"

#include "app/Globals.h"

namespace telemetry {

Pages GlobalPages() {
    return Pages{
        &g_sensorLipoVoltage,
        &g_sensorCurrentL,
        &g_sensorAirSpeed,
        &g_sensorCurrentH,
        &g_sensorRPM,
        &g_sensorRedundancyBus,
        &g_sensorGPS,
        &g_sensorVariometer,
        &g_sensorFuelKit,
        &g_sensorQWireToUART,
        &g_sensorSteeringEngine,
        &g_sensorReserve1,
        &g_sensorReserve2,
    };
}

}  // namespace telemetry
