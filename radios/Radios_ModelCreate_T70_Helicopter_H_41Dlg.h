#pragma once

#include "radios/model_template_page.h"

// The template of an H-4 helicopter.
class CRadios_ModelCreate_T70_Helicopter_H_41Dlg : public radios::ModelTemplatePage {
  public:
    static constexpr UINT IDD = 384;
    CRadios_ModelCreate_T70_Helicopter_H_41Dlg() : ModelTemplatePage(IDD, true) {}
};
