#pragma once

#include "platform/afx.h"

// Radio page 1, the model-creation host: tab "T70" holds the T70 wizard, tab "T90" the T90
// page.
class CRadios_Reserve1Dlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 215;
    CRadios_Reserve1Dlg() : CDialogEx(IDD) {}

    BOOL OnInitDialog() override;
    void CreateRadioPages();
    void OnTcnSelchangeRadioTab(NMHDR* header, LRESULT* result);
    const platform::MessageMap* GetMessageMap() const override;

    CTabCtrl m_tabRadios;

  protected:
    void DoDataExchange(CDataExchange* dx) override;

  private:
    CRect RadioPageRect();
};
