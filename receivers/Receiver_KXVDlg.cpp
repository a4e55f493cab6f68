#include "receivers/Receiver_KXVDlg.h"

void CReceiver_KXVDlg::StopTimers() {
    for (UINT_PTR id = 0; id <= 6; ++id) KillTimer(id);
}
