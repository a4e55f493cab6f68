#pragma once
// What the T70 wizard's model template pages share: the model's name and, on all but the
// initial and the custom page, an "Input Map" button that does nothing yet.

#include "platform/afx.h"

namespace radios {

class ModelTemplatePage : public CDialogEx {
  public:
    static constexpr int kInputMapButton = 1292;

  protected:
    ModelTemplatePage(UINT templateId, bool hasInputMap)
        : CDialogEx(templateId), m_hasInputMap(hasInputMap) {}
    void DoDataExchange(CDataExchange* dx) override;

    CButton m_btnInputMap;

  private:
    bool m_hasInputMap;
};

}  // namespace radios
