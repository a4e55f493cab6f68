#pragma once

#include "radios/model_template_page.h"

// The template of an H-1 helicopter.
class CRadios_ModelCreate_T70_Helicopter_H_11Dlg : public radios::ModelTemplatePage {
  public:
    static constexpr UINT IDD = 382;
    CRadios_ModelCreate_T70_Helicopter_H_11Dlg() : ModelTemplatePage(IDD, true) {}
};
