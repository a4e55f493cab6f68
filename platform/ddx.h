#pragma once
// Data exchange between a dialog's controls and its member variables, as DoDataExchange uses it.
// Text that is not a number makes the exchange say so in a box and keep the variable; the
// exchange then stops and UpdateData returns FALSE.

#include "platform/dialog.h"

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Text(CDataExchange* dx, int id, BYTE& value);
void DDX_Text(CDataExchange* dx, int id, double& value);
void DDX_Text(CDataExchange* dx, int id, CString& value);
// The index of the checked radio button in the group that starts at `id`, -1 for none.
void DDX_Radio(CDataExchange* dx, int id, int& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
