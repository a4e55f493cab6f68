// Every global object of the program, in the order of construction. Keeping them in one file
// fixes that order; the pages are plain objects until the main window creates their windows.

#include "app/Globals.h"

CKestrovaApp theApp;
CSerialPort g_serialPort;
CSensor_AirSpeedDlg g_sensorAirSpeed;
CSensor_CurrentHDlg g_sensorCurrentH;
CSensor_CurrentLDlg g_sensorCurrentL;
CSensor_GPSDlg g_sensorGPS;
CSensor_LipoVoltageDlg g_sensorLipoVoltage;
CSensor_RedundancyBusDlg g_sensorRedundancyBus;
CSensor_RPMDlg g_sensorRPM;
CSensor_QWireToUARTDlg g_sensorQWireToUART;
CSensor_VariometerDlg g_sensorVariometer;
CSensor_FuelKitDlg g_sensorFuelKit;
CSensor_SteeringEngineDlg g_sensorSteeringEngine;
CSensor_Reserve1Dlg g_sensorReserve1;
CSensor_Reserve2Dlg g_sensorReserve2;
CSensor_Reserve3Dlg g_sensorReserve3;
CSensor_Reserve4Dlg g_sensorReserve4;
CSensor_Reserve5Dlg g_sensorReserve5;
CReceiver_K5VDlg g_receiverK5V;
CReceiver_K4VDlg g_receiverK4V;
CReceiver_K7LDlg g_receiverK7L;
CReceiver_KXVDlg g_receiverKXV;
CRadios_FileManagementDlg g_radiosFileManagement;
CRadios_Reserve1Dlg g_radiosReserve1;
CRadios_Reserve2Dlg g_radiosReserve2;
CRadios_Reserve3Dlg g_radiosReserve3;
CToolTipCtrl g_toolTip;
CRadios_ModelCreate_T70_Airplane_FlyingWing1Dlg g_radiosModelCreate_T70_Airplane_FlyingWing1;
CRadios_ModelCreate_T70_Airplane_Normal1Dlg g_radiosModelCreate_T70_Airplane_Normal1;
CRadios_ModelCreate_T70_Airplane_V_Tal1Dlg g_radiosModelCreate_T70_Airplane_V_Tal1;
CRadios_ModelCreate_T70_InitializationDlg g_radiosModelCreate_T70_Initialization;
CRadios_ModelCreate_T70_Helicopter_H_11Dlg g_radiosModelCreate_T70_Helicopter_H_11;
CRadios_ModelCreate_T70_Helicopter_H_31Dlg g_radiosModelCreate_T70_Helicopter_H_31;
CRadios_ModelCreate_T70_Helicopter_H_41Dlg g_radiosModelCreate_T70_Helicopter_H_41;
CRadios_ModelCreate_T70_Helicopter_H_4X1Dlg g_radiosModelCreate_T70_Helicopter_H_4X1;
CRadios_ModelCreate_T70_Helicopter_HE31Dlg g_radiosModelCreate_T70_Helicopter_HE31;
CRadios_ModelCreate_T70_Helicopter_HR31Dlg g_radiosModelCreate_T70_Helicopter_HR31;
CRadios_ModelCreate_T70_Custom1Dlg g_radiosModelCreate_T70_Custom1;
CRadios_ModelCreate_T70_Glider_Normal1Dlg g_radiosModelCreate_T70_Glider_Normal1;
CRadios_ModelCreate_T70_Glider_V_Tal1Dlg g_radiosModelCreate_T70_Glider_V_Tal1;
CRadios_ModelCreate_T70_Multicopter1Dlg g_radiosModelCreate_T70_Multicopter1;
CRadios_ModelCreate_T70_Airplane_FlyingWing1_ExMixerDlg
    g_radiosModelCreate_T70_Airplane_FlyingWing1_ExMixer;
CRadios_ModelCreate_T70_Airplane_FlyingWing1_ExMixer_EditDlg
    g_radiosModelCreate_T70_Airplane_FlyingWing1_ExMixer_Edit;
CRadios_ModelCreate_T70Dlg g_radiosModelCreate_T70;
CRadios_ModelCreate_T90Dlg g_radiosModelCreate_T90;
CReceiver_KXV_AccelerometerCalibrationDlg g_receiverKXV_AccelerometerCalibration;
CReceiver_KXV_GainSettingDlg g_receiverKXV_GainSetting;
CReceiver_KXV_MountingTypeDlg g_receiverKXV_MountingType;
CReceiver_KXV_OffsetAngleSettingDlg g_receiverKXV_OffsetAngleSetting;
CReceiver_KXV_WingTypeDlg g_receiverKXV_WingType;
CReceiver_KXV_InformationDlg g_receiverKXV_Information;
CToolTipCtrl g_kxvToolTip;

// Labels of the video transmitter's channels, indexed channel * 6 + band (bands A to F).
const CString kVideoChannelFrequencies[48] = {
    "5865M", "5733M", "5705M", "5740M", "5658M", "5362M", "5845M", "5752M", "5685M", "5760M",
    "5695M", "5399M", "5825M", "5771M", "5665M", "5780M", "5732M", "5436M", "5805M", "5790M",
    "5645M", "5800M", "5769M", "5473M", "5785M", "5809M", "5885M", "5820M", "5806M", "5510M",
    "5765M", "5828M", "5905M", "5840M", "5843M", "5547M", "5745M", "5847M", "5925M", "5860M",
    "5880M", "5584M", "5725M", "5866M", "5945M", "5880M", "5917M", "5621M",
};
