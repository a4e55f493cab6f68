#pragma once

#include "radios/model_template_page.h"

// The template of a normal glider.
class CRadios_ModelCreate_T70_Glider_Normal1Dlg : public radios::ModelTemplatePage {
  public:
    static constexpr UINT IDD = 395;
    CRadios_ModelCreate_T70_Glider_Normal1Dlg() : ModelTemplatePage(IDD, true) {}
};
