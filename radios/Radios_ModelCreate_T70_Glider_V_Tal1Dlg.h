#pragma once

#include "radios/model_template_page.h"

// The template of a V-tail glider.
class CRadios_ModelCreate_T70_Glider_V_Tal1Dlg : public radios::ModelTemplatePage {
  public:
    static constexpr UINT IDD = 396;
    CRadios_ModelCreate_T70_Glider_V_Tal1Dlg() : ModelTemplatePage(IDD, true) {}
};
