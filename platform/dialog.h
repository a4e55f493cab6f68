#pragma once
// Dialogs made from templates: modeless (`Create`, the pages) or modal (`DoModal`).

#include "platform/wnd.h"

class QEventLoop;
class CDataExchange;

class CDialog : public CWnd {
  public:
    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr);
    ~CDialog() override;

    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    virtual intptr_t DoModal();
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    static const platform::MessageMap* ThisMessageMap();
    const platform::MessageMap* GetMessageMap() const override;
    BOOL PreTranslateMessage(MSG* msg) override;

    UINT TemplateId() const { return m_templateId; }
    bool IsModalRunning() const { return m_modalLoop != nullptr || m_inModal; }

  protected:
    virtual void DoDataExchange(CDataExchange* dx) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT m_templateId;
    CWnd* m_pParentWnd;

  private:
    bool CreateNative(CWnd* parent, bool modal);
    void OnCloseMessage();

    QEventLoop* m_modalLoop = nullptr;
    bool m_inModal = false;
    bool m_ended = false;
    int m_result = IDCANCEL;
};

class CDialogEx : public CDialog {
  public:
    using CDialog::CDialog;
    void SetBackgroundColor(COLORREF color, BOOL repaint = TRUE);
};

// Moves values between a dialog's controls and its member variables.
class CDataExchange {
  public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    // The control of `id`; a missing control is a programming fault of the template.
    CWnd* PrepareCtrl(int id);
    // Ends the exchange after a validation box: UpdateData then returns FALSE.
    [[noreturn]] void Fail();
};
