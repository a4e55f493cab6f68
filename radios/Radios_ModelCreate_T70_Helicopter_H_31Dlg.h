#pragma once

#include "radios/model_template_page.h"

// The template of an H-3 helicopter.
class CRadios_ModelCreate_T70_Helicopter_H_31Dlg : public radios::ModelTemplatePage {
  public:
    static constexpr UINT IDD = 383;
    CRadios_ModelCreate_T70_Helicopter_H_31Dlg() : ModelTemplatePage(IDD, true) {}
};
