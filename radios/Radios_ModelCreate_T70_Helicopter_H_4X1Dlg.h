#pragma once

#include "radios/model_template_page.h"

// The template of an H-4X helicopter.
class CRadios_ModelCreate_T70_Helicopter_H_4X1Dlg : public radios::ModelTemplatePage {
  public:
    static constexpr UINT IDD = 385;
    CRadios_ModelCreate_T70_Helicopter_H_4X1Dlg() : ModelTemplatePage(IDD, true) {}
};
