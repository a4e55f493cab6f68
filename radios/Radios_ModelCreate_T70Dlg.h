#pragma once

#include "platform/afx.h"

// The T70 model-creation wizard: a model type chosen from the list shows its template page in
// the frame; "Create" does nothing yet.
class CRadios_ModelCreate_T70Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 368;
    static constexpr int kModelTypes = 13;
    CRadios_ModelCreate_T70Dlg() : CDialogEx(IDD) {}

    BOOL OnInitDialog() override;
    void CreateTemplatePages();
    void FillModelTypeCombo();
    void ShowTemplatePage(int index);
    void OnCbnSelchangeModelType();
    void OnBnClickedCreate();
    void OnTimer(UINT_PTR id);
    const platform::MessageMap* GetMessageMap() const override;

    CTabCtrl m_tabTemplates;  // a frame for the template pages; it never gets a tab
    CComboBox m_comboModelType;
    CButton m_btnCreate;
    int m_nModelType = 0;  // the last chosen list index

  protected:
    void DoDataExchange(CDataExchange* dx) override;

  private:
    CRect TemplateRect();
};
