#pragma once
// The small box with an endlessly running bar that stands on screen while the new version is
// downloaded.

#include "platform/afx.h"

class CAutoUpdateDlg : public CDialogEx {
  public:
    static constexpr UINT IDD = 211;
    static constexpr UINT_PTR kAnimationTimer = 0;
    static constexpr UINT kAnimationPeriodMs = 10;
    static constexpr int kAnimationSteps = 140;

    explicit CAutoUpdateDlg(CWnd* parent = nullptr) : CDialogEx(IDD, parent) {}

    void StartAnimation();
    void StepAnimation();
    void OnTimer(UINT_PTR id);
    BOOL OnInitDialog() override;
    const platform::MessageMap* GetMessageMap() const override;

    CProgressCtrl m_progress;
    int m_nAnimationStep = 0;

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};

// The box of the update (made at the first update, never freed) and its progress bar.
extern CAutoUpdateDlg* g_pUpdateDlg;
extern CWnd* g_pUpdateProgress;
