#pragma once
// The program's global objects. They are defined in one file, Globals.cpp, in the order they must
// be built; they are destroyed in the reverse order at exit.

#include "app/KestrovaApp.h"
#include "bus/serial_port.h"
#include "platform/afx.h"
#include "radios/Radios_FileManagementDlg.h"
#include "radios/Radios_ModelCreate_T70Dlg.h"
#include "radios/Radios_ModelCreate_T70_Airplane_FlyingWing1Dlg.h"
#include "radios/Radios_ModelCreate_T70_Airplane_FlyingWing1_ExMixerDlg.h"
#include "radios/Radios_ModelCreate_T70_Airplane_FlyingWing1_ExMixer_EditDlg.h"
#include "radios/Radios_ModelCreate_T70_Airplane_Normal1Dlg.h"
#include "radios/Radios_ModelCreate_T70_Airplane_V_Tal1Dlg.h"
#include "radios/Radios_ModelCreate_T70_Custom1Dlg.h"
#include "radios/Radios_ModelCreate_T70_Glider_Normal1Dlg.h"
#include "radios/Radios_ModelCreate_T70_Glider_V_Tal1Dlg.h"
#include "radios/Radios_ModelCreate_T70_Helicopter_HE31Dlg.h"
#include "radios/Radios_ModelCreate_T70_Helicopter_HR31Dlg.h"
#include "radios/Radios_ModelCreate_T70_Helicopter_H_11Dlg.h"
#include "radios/Radios_ModelCreate_T70_Helicopter_H_31Dlg.h"
#include "radios/Radios_ModelCreate_T70_Helicopter_H_41Dlg.h"
#include "radios/Radios_ModelCreate_T70_Helicopter_H_4X1Dlg.h"
#include "radios/Radios_ModelCreate_T70_InitializationDlg.h"
#include "radios/Radios_ModelCreate_T70_Multicopter1Dlg.h"
#include "radios/Radios_ModelCreate_T90Dlg.h"
#include "radios/Radios_Reserve1Dlg.h"
#include "radios/Radios_Reserve2Dlg.h"
#include "radios/Radios_Reserve3Dlg.h"
#include "receivers/Receiver_K4VDlg.h"
#include "receivers/Receiver_K5VDlg.h"
#include "receivers/Receiver_K7LDlg.h"
#include "receivers/Receiver_KXVDlg.h"
#include "receivers/Receiver_KXV_AccelerometerCalibrationDlg.h"
#include "receivers/Receiver_KXV_GainSettingDlg.h"
#include "receivers/Receiver_KXV_InformationDlg.h"
#include "receivers/Receiver_KXV_MountingTypeDlg.h"
#include "receivers/Receiver_KXV_OffsetAngleSettingDlg.h"
#include "receivers/Receiver_KXV_WingTypeDlg.h"
#include "sensors/Sensor_AirSpeedDlg.h"
#include "sensors/Sensor_CurrentHDlg.h"
#include "sensors/Sensor_CurrentLDlg.h"
#include "sensors/Sensor_FuelKitDlg.h"
#include "sensors/Sensor_GPSDlg.h"
#include "sensors/Sensor_LipoVoltageDlg.h"
#include "sensors/Sensor_QWireToUARTDlg.h"
#include "sensors/Sensor_RPMDlg.h"
#include "sensors/Sensor_RedundancyBusDlg.h"
#include "sensors/Sensor_Reserve1Dlg.h"
#include "sensors/Sensor_Reserve2Dlg.h"
#include "sensors/Sensor_Reserve3Dlg.h"
#include "sensors/Sensor_Reserve4Dlg.h"
#include "sensors/Sensor_Reserve5Dlg.h"
#include "sensors/Sensor_SteeringEngineDlg.h"
#include "sensors/Sensor_VariometerDlg.h"

extern CKestrovaApp theApp;
extern CSerialPort g_serialPort;
extern CSensor_AirSpeedDlg g_sensorAirSpeed;
extern CSensor_CurrentHDlg g_sensorCurrentH;
extern CSensor_CurrentLDlg g_sensorCurrentL;
extern CSensor_GPSDlg g_sensorGPS;
extern CSensor_LipoVoltageDlg g_sensorLipoVoltage;
extern CSensor_RedundancyBusDlg g_sensorRedundancyBus;
extern CSensor_RPMDlg g_sensorRPM;
extern CSensor_QWireToUARTDlg g_sensorQWireToUART;
extern CSensor_VariometerDlg g_sensorVariometer;
extern CSensor_FuelKitDlg g_sensorFuelKit;
extern CSensor_SteeringEngineDlg g_sensorSteeringEngine;
extern CSensor_Reserve1Dlg g_sensorReserve1;
extern CSensor_Reserve2Dlg g_sensorReserve2;
extern CSensor_Reserve3Dlg g_sensorReserve3;
extern CSensor_Reserve4Dlg g_sensorReserve4;
extern CSensor_Reserve5Dlg g_sensorReserve5;
extern CReceiver_K5VDlg g_receiverK5V;
extern CReceiver_K4VDlg g_receiverK4V;
extern CReceiver_K7LDlg g_receiverK7L;
extern CReceiver_KXVDlg g_receiverKXV;
extern CRadios_FileManagementDlg g_radiosFileManagement;
extern CRadios_Reserve1Dlg g_radiosReserve1;
extern CRadios_Reserve2Dlg g_radiosReserve2;
extern CRadios_Reserve3Dlg g_radiosReserve3;
extern CToolTipCtrl g_toolTip;
extern CRadios_ModelCreate_T70_Airplane_FlyingWing1Dlg g_radiosModelCreate_T70_Airplane_FlyingWing1;
extern CRadios_ModelCreate_T70_Airplane_Normal1Dlg g_radiosModelCreate_T70_Airplane_Normal1;
extern CRadios_ModelCreate_T70_Airplane_V_Tal1Dlg g_radiosModelCreate_T70_Airplane_V_Tal1;
extern CRadios_ModelCreate_T70_InitializationDlg g_radiosModelCreate_T70_Initialization;
extern CRadios_ModelCreate_T70_Helicopter_H_11Dlg g_radiosModelCreate_T70_Helicopter_H_11;
extern CRadios_ModelCreate_T70_Helicopter_H_31Dlg g_radiosModelCreate_T70_Helicopter_H_31;
extern CRadios_ModelCreate_T70_Helicopter_H_41Dlg g_radiosModelCreate_T70_Helicopter_H_41;
extern CRadios_ModelCreate_T70_Helicopter_H_4X1Dlg g_radiosModelCreate_T70_Helicopter_H_4X1;
extern CRadios_ModelCreate_T70_Helicopter_HE31Dlg g_radiosModelCreate_T70_Helicopter_HE31;
extern CRadios_ModelCreate_T70_Helicopter_HR31Dlg g_radiosModelCreate_T70_Helicopter_HR31;
extern CRadios_ModelCreate_T70_Custom1Dlg g_radiosModelCreate_T70_Custom1;
extern CRadios_ModelCreate_T70_Glider_Normal1Dlg g_radiosModelCreate_T70_Glider_Normal1;
extern CRadios_ModelCreate_T70_Glider_V_Tal1Dlg g_radiosModelCreate_T70_Glider_V_Tal1;
extern CRadios_ModelCreate_T70_Multicopter1Dlg g_radiosModelCreate_T70_Multicopter1;
extern CRadios_ModelCreate_T70_Airplane_FlyingWing1_ExMixerDlg
    g_radiosModelCreate_T70_Airplane_FlyingWing1_ExMixer;
extern CRadios_ModelCreate_T70_Airplane_FlyingWing1_ExMixer_EditDlg
    g_radiosModelCreate_T70_Airplane_FlyingWing1_ExMixer_Edit;
extern CRadios_ModelCreate_T70Dlg g_radiosModelCreate_T70;
extern CRadios_ModelCreate_T90Dlg g_radiosModelCreate_T90;
extern CReceiver_KXV_AccelerometerCalibrationDlg g_receiverKXV_AccelerometerCalibration;
extern CReceiver_KXV_GainSettingDlg g_receiverKXV_GainSetting;
extern CReceiver_KXV_MountingTypeDlg g_receiverKXV_MountingType;
extern CReceiver_KXV_OffsetAngleSettingDlg g_receiverKXV_OffsetAngleSetting;
extern CReceiver_KXV_WingTypeDlg g_receiverKXV_WingType;
extern CReceiver_KXV_InformationDlg g_receiverKXV_Information;
extern CToolTipCtrl g_kxvToolTip;
extern const CString kVideoChannelFrequencies[48];
