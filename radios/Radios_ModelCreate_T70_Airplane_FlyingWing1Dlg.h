#pragma once

#include "radios/model_template_page.h"

// The template of a flying wing, the one template with extra mixers.
class CRadios_ModelCreate_T70_Airplane_FlyingWing1Dlg : public radios::ModelTemplatePage {
  public:
    static constexpr UINT IDD = 374;
    CRadios_ModelCreate_T70_Airplane_FlyingWing1Dlg() : ModelTemplatePage(IDD, true) {}

    void OnBnClickedExMixer();
    const platform::MessageMap* GetMessageMap() const override;

    CButton m_btnExMixer;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};
