// The bus scan (timer 1) and the monitoring listener (timer 0).

#include "app/KestrovaDlg.h"

void CKestrovaDlg::ScanBusStep() {}

void CKestrovaDlg::DecodeMonitorData() {}
