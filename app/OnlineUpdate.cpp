// The update check at start-up.

#include "app/KestrovaDlg.h"
#include "platform/win32_files.h"

void CKestrovaDlg::DeleteOldExecutable() {
    DeleteFileA("Kestrova_old.exe");
}

void CKestrovaDlg::CheckForUpdate() {}

void CKestrovaDlg::ShowUpdateProgress() {}
