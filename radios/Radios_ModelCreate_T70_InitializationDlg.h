#pragma once

#include "radios/model_template_page.h"

// The wizard's first page, shown until a model type is chosen.
class CRadios_ModelCreate_T70_InitializationDlg : public radios::ModelTemplatePage {
  public:
    static constexpr UINT IDD = 372;
    CRadios_ModelCreate_T70_InitializationDlg() : ModelTemplatePage(IDD, false) {}
};
