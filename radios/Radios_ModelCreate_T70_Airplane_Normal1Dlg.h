#pragma once

#include "radios/model_template_page.h"

// The template of a normal airplane.
class CRadios_ModelCreate_T70_Airplane_Normal1Dlg : public radios::ModelTemplatePage {
  public:
    static constexpr UINT IDD = 373;
    CRadios_ModelCreate_T70_Airplane_Normal1Dlg() : ModelTemplatePage(IDD, true) {}
};
