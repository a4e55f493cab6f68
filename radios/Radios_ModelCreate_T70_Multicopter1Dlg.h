#pragma once

#include "radios/model_template_page.h"

// The template of a multicopter.
class CRadios_ModelCreate_T70_Multicopter1Dlg : public radios::ModelTemplatePage {
  public:
    static constexpr UINT IDD = 394;
    CRadios_ModelCreate_T70_Multicopter1Dlg() : ModelTemplatePage(IDD, true) {}
};
