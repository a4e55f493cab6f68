#include "platform/dialog.h"

#include <QEventLoop>
#include <QWidget>
#include <stdexcept>

#include "platform/dialog_template.h"
#include "platform/exception.h"
#include "platform/fonts.h"
#include "platform/modal_ui.h"
#include "platform/native_controls.h"
#include "platform/ui_events.h"

namespace {

// Paints as a window does: the class library's WM_PAINT reaches the dialog after Qt has drawn.
class DialogWidget : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QWidget::paintEvent(event);
        if (CWnd* wnd = CWnd::FromHandlePermanent(this)) wnd->Dispatch(WM_PAINT, 0, 0);
    }
};

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
    if (m_modalLoop) m_modalLoop->quit();
}

const platform::MessageMap* CDialog::ThisMessageMap() {
    static const platform::MessageMap map{nullptr,
                                          {
                                              platform::OnBnClicked(IDOK, &CDialog::OnOK),
                                              platform::OnBnClicked(IDCANCEL, &CDialog::OnCancel),
                                          }};
    return &map;
}

const platform::MessageMap* CDialog::GetMessageMap() const {
    return ThisMessageMap();
}

BOOL CDialog::PreTranslateMessage(MSG*) {
    return FALSE;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE && !GetMessageMap()->Find(WM_CLOSE, 0, 0)) {
        // The dialog manager turns the close box into Cancel.
        Dispatch(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        return 0;
    }
    if (message == WM_INITDIALOG) return OnInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}

bool CDialog::CreateNative(CWnd* parent, bool modal) {
    const platform::DialogTemplate* t = platform::FindDialogTemplate(m_templateId);
    if (!t)
        throw std::runtime_error("dialog template " + std::to_string(m_templateId) + " is missing");
    platform::EnsureUiEvents();

    QWidget* parentWidget = parent ? parent->m_hWnd : nullptr;
    bool child = (t->style & WS_CHILD) && !modal;
    auto* w =
        new DialogWidget(child ? parentWidget : (parentWidget ? parentWidget->window() : nullptr));
    if (!child) {
        Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        if (t->style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
        if (!(t->style & WS_CAPTION)) flags = Qt::Dialog | Qt::FramelessWindowHint;
        w->setWindowFlags(flags);
        if (modal) w->setWindowModality(Qt::ApplicationModal);
    }
    platform::SetWidgetIdentity(w, platform::CtrlKind::Dialog, 0, t->style & ~WS_VISIBLE);
    w->setFont(platform::TemplateFont(t->font, t->pointSize));
    w->setMouseTracking(true);
    w->setWindowTitle(QString::fromUtf8(t->caption ? t->caption : ""));

    platform::BaseUnits units = platform::DialogBaseUnits(t->font, t->pointSize);
    platform::PixelRect size = platform::DluToPixels(units, 0, 0, t->cx, t->cy);
    if (child) {
        w->resize(size.cx, size.cy);
        // A dialog paints its own background: a tab strip that a page is placed over must not
        // show through it.
        w->setAutoFillBackground(true);
    }
    else
        w->setFixedSize(size.cx, size.cy);

    AttachOwned(w);
    m_ended = false;
    for (const platform::ControlTemplate& c : t->controls)
        platform::CreateControlWidget(c, w, units);
    if (!child && (t->style & 0x0800 /*DS_CENTER*/) && parentWidget) {
        QWidget* top = parentWidget->window();
        w->move(top->geometry().center() - QPoint(size.cx / 2, size.cy / 2));
    }
    Dispatch(WM_INITDIALOG, 0, 0);
    return true;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    if (templateId) m_templateId = templateId;
    if (m_hWnd) return FALSE;
    m_pParentWnd = parent;
    if (!CreateNative(parent, false)) return FALSE;
    const platform::DialogTemplate* t = platform::FindDialogTemplate(m_templateId);
    if (m_hWnd && (t->style & WS_VISIBLE)) m_hWnd->show();
    return m_hWnd != nullptr;
}

intptr_t CDialog::DoModal() {
    if (m_hWnd) return -1;
    m_result = IDCANCEL;
    m_inModal = true;
    CreateNative(m_pParentWnd, true);
    if (!m_hWnd) {
        m_inModal = false;
        return -1;
    }
    if (!m_ended) {
        if (platform::HasModalHook()) {
            platform::ModalRecord record;
            record.kind = platform::ModalKind::Dialog;
            record.dialogId = m_templateId;
            record.dialog = this;
            CString caption;
            GetWindowText(caption);
            record.caption = static_cast<const char*>(caption);
            m_hWnd->show();
            platform::ModalAnswer answer = platform::AskModalHook(record);
            // The answer acts like the user's button, so OnOK/OnCancel run as they would.
            if (!m_ended) Dispatch(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(answer.result), 0), 0);
            if (!m_ended) EndDialog(answer.result);
        } else {
            m_hWnd->show();
            QEventLoop loop;
            m_modalLoop = &loop;
            loop.exec();
            m_modalLoop = nullptr;
        }
    }
    m_inModal = false;
    DestroyWindow();
    return m_result;
}

void CDialog::EndDialog(int result) {
    m_result = result;
    m_ended = true;
    if (m_modalLoop) {
        m_modalLoop->quit();
    } else if (!m_inModal && m_hWnd) {
        m_hWnd->hide();  // a modeless dialog is only hidden
    }
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    if (!m_hWnd) return FALSE;
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (CUserException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

void CDialogEx::SetBackgroundColor(COLORREF color, BOOL) {
    if (!m_hWnd) return;
    QPalette p = m_hWnd->palette();
    p.setColor(QPalette::Window, QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
    m_hWnd->setAutoFillBackground(true);
    m_hWnd->setPalette(p);
}

CWnd* CDataExchange::PrepareCtrl(int id) {
    CWnd* ctrl = m_pDlgWnd->GetDlgItem(id);
    if (!ctrl) throw std::logic_error("dialog has no control " + std::to_string(id));
    return ctrl;
}

void CDataExchange::Fail() {
    throw new CUserException();
}
