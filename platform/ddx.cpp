#include "platform/ddx.h"

#include <QRadioButton>
#include <QWidget>

#include "platform/button.h"
#include "platform/ddx_text.h"
#include "platform/modal_ui.h"
#include "platform/native_controls.h"

namespace {

[[noreturn]] void FailWith(CDataExchange* dx, CWnd* ctrl, const char* prompt) {
    AfxMessageBox(prompt, MB_OK);
    ctrl->SetFocus();
    dx->Fail();
}

template <class T, class Parse>
void ExchangeNumber(CDataExchange* dx, int id, T& value, Parse parse, const char* prompt) {
    CWnd* ctrl = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        CString text;
        ctrl->GetWindowText(text);
        T parsed{};
        if (!parse(static_cast<const char*>(text), parsed)) FailWith(dx, ctrl, prompt);
        value = parsed;
    } else {
        ctrl->SetWindowText(platform::FormatDdxValue(value));
    }
}

}  // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd) return;
    control.Attach(dx->PrepareCtrl(id)->m_hWnd);
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
    ExchangeNumber(dx, id, value, platform::ParseDdxInt, platform::kDdxIntPrompt);
}

void DDX_Text(CDataExchange* dx, int id, UINT& value) {
    ExchangeNumber(dx, id, value, platform::ParseDdxUInt, platform::kDdxUIntPrompt);
}

void DDX_Text(CDataExchange* dx, int id, BYTE& value) {
    auto parseByte = [](const char* text, BYTE& out) {
        int v = 0;
        if (!platform::ParseDdxInt(text, v) || v < 0 || v > 255) return false;
        out = static_cast<BYTE>(v);
        return true;
    };
    CWnd* ctrl = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        CString text;
        ctrl->GetWindowText(text);
        BYTE parsed = 0;
        if (!parseByte(static_cast<const char*>(text), parsed))
            FailWith(dx, ctrl, platform::kDdxBytePrompt);
        value = parsed;
    } else {
        ctrl->SetWindowText(platform::FormatDdxValue(static_cast<int>(value)));
    }
}

void DDX_Text(CDataExchange* dx, int id, double& value) {
    ExchangeNumber(dx, id, value, platform::ParseDdxDouble, platform::kDdxDoublePrompt);
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
    CWnd* ctrl = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        ctrl->GetWindowText(value);
    else
        ctrl->SetWindowText(value);
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
    QWidget* first = dx->PrepareCtrl(id)->m_hWnd;
    QWidget* parent = first->parentWidget();
    QList<QRadioButton*> group;
    bool in = false;
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w) continue;
        if (w == first) {
            in = true;
        } else if (in && (platform::WidgetStyle(w) & WS_GROUP)) {
            break;
        }
        if (!in) continue;
        if (auto* r = qobject_cast<QRadioButton*>(w)) group.push_back(r);
    }
    if (dx->m_bSaveAndValidate) {
        value = -1;
        for (int i = 0; i < group.size(); ++i)
            if (group[i]->isChecked()) value = i;
    } else {
        for (int i = 0; i < group.size(); ++i) group[i]->setChecked(i == value);
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    auto* button = static_cast<CButton*>(dx->PrepareCtrl(id));
    if (dx->m_bSaveAndValidate)
        value = button->GetCheck();
    else
        button->SetCheck(value);
}
