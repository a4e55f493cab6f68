#pragma once
// The application object: its start-up runs the main window modally and then ends the program.

#include "platform/afx.h"

class CKestrovaApp : public CWinApp {
  public:
    CKestrovaApp();
    BOOL InitInstance() override;
};
