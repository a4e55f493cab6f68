#pragma once

#include "radios/model_template_page.h"

// The custom model's page: no template, so no input map.
class CRadios_ModelCreate_T70_Custom1Dlg : public radios::ModelTemplatePage {
  public:
    static constexpr UINT IDD = 397;
    CRadios_ModelCreate_T70_Custom1Dlg() : ModelTemplatePage(IDD, false) {}
};
