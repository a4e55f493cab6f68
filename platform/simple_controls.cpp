#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "platform/button.h"
#include "platform/edit.h"
#include "platform/progress_ctrl.h"
#include "platform/static_ctrl.h"

int CButton::GetCheck() const {
    if (auto* c = qobject_cast<QCheckBox*>(m_hWnd); c && c->checkState() == Qt::PartiallyChecked)
        return BST_INDETERMINATE;
    auto* b = qobject_cast<QAbstractButton*>(m_hWnd);
    return b && b->isCheckable() && b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int check) {
    if (auto* c = qobject_cast<QCheckBox*>(m_hWnd)) {
        c->setCheckState(check == BST_INDETERMINATE ? Qt::PartiallyChecked
                         : check == BST_CHECKED     ? Qt::Checked
                                                    : Qt::Unchecked);
        // Only the program shows the third state; the user's clicks tick and clear.
        c->setTristate(check == BST_INDETERMINATE);
        return;
    }
    if (auto* b = qobject_cast<QAbstractButton*>(m_hWnd); b && b->isCheckable())
        b->setChecked(check == BST_CHECKED);
}

void CButton::SetButtonStyle(UINT style, BOOL) {
    ModifyStyle(BS_TYPEMASK, style & BS_TYPEMASK);
}

BOOL CEdit::SetReadOnly(BOOL readOnly) {
    return readOnly ? ModifyStyle(0, ES_READONLY) || TRUE : ModifyStyle(ES_READONLY, 0) || TRUE;
}

void CEdit::SetLimitText(UINT maxChars) {
    if (auto* e = qobject_cast<QLineEdit*>(m_hWnd))
        e->setMaxLength(maxChars ? static_cast<int>(maxChars) : 32767);
}

void CEdit::SetSel(int start, int end, BOOL) {
    auto* e = qobject_cast<QLineEdit*>(m_hWnd);
    if (!e) return;
    if (start < 0) {
        e->deselect();
        return;
    }
    int last = end < 0 ? e->text().size() : end;
    e->setSelection(start, last - start);
}

HBITMAP CStatic::SetBitmap(HBITMAP bitmap) {
    return reinterpret_cast<HBITMAP>(
        SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}

HBITMAP CStatic::GetBitmap() const {
    return reinterpret_cast<HBITMAP>(
        const_cast<CStatic*>(this)->SendMessage(STM_GETIMAGE, IMAGE_BITMAP, 0));
}

void CProgressCtrl::SetRange(short lower, short upper) {
    SendMessage(PBM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(lower), static_cast<WORD>(upper)));
}

void CProgressCtrl::SetRange32(int lower, int upper) {
    SendMessage(PBM_SETRANGE32, lower, upper);
}

int CProgressCtrl::SetPos(int pos) {
    return static_cast<int>(SendMessage(PBM_SETPOS, pos, 0));
}

int CProgressCtrl::GetPos() const {
    return static_cast<int>(const_cast<CProgressCtrl*>(this)->SendMessage(PBM_GETPOS, 0, 0));
}

COLORREF CProgressCtrl::SetBarColor(COLORREF color) {
    return static_cast<COLORREF>(SendMessage(PBM_SETBARCOLOR, 0, color));
}

COLORREF CProgressCtrl::SetBkColor(COLORREF color) {
    return static_cast<COLORREF>(SendMessage(PBM_SETBKCOLOR, 0, color));
}
