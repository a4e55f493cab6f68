#pragma once

#include "radios/model_template_page.h"

// The template of an HE-3 helicopter.
class CRadios_ModelCreate_T70_Helicopter_HE31Dlg : public radios::ModelTemplatePage {
  public:
    static constexpr UINT IDD = 386;
    CRadios_ModelCreate_T70_Helicopter_HE31Dlg() : ModelTemplatePage(IDD, true) {}
};
