#pragma once

#include "radios/model_template_page.h"

// The template of an HR-3 helicopter.
class CRadios_ModelCreate_T70_Helicopter_HR31Dlg : public radios::ModelTemplatePage {
  public:
    static constexpr UINT IDD = 387;
    CRadios_ModelCreate_T70_Helicopter_HR31Dlg() : ModelTemplatePage(IDD, true) {}
};
