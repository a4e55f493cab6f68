#pragma once

#include "radios/model_template_page.h"

// The template of a V-tail airplane.
class CRadios_ModelCreate_T70_Airplane_V_Tal1Dlg : public radios::ModelTemplatePage {
  public:
    static constexpr UINT IDD = 375;
    CRadios_ModelCreate_T70_Airplane_V_Tal1Dlg() : ModelTemplatePage(IDD, true) {}
};
