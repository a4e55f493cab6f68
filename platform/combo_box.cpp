#include "platform/combo_box.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "platform/styles.h"

namespace {

QComboBox* Combo(const CWnd* w) {
    return qobject_cast<QComboBox*>(w->m_hWnd);
}

}  // namespace

namespace platform {

int CompareListText(const char* a, const char* b) {
    QString qa = QString::fromUtf8(a), qb = QString::fromUtf8(b);
    return QString::compare(qa, qb, Qt::CaseInsensitive);
}

}  // namespace platform

int CComboBox::AddString(const char* text) {
    QComboBox* c = Combo(this);
    if (!c) return CB_ERR;
    int at = c->count();
    if (GetStyle() & CBS_SORT) {
        at = 0;
        while (at < c->count() &&
               platform::CompareListText(c->itemText(at).toUtf8().constData(), text) <= 0)
            ++at;
    }
    return InsertString(at, text);
}

int CComboBox::InsertString(int index, const char* text) {
    QComboBox* c = Combo(this);
    if (!c) return CB_ERR;
    if (index < 0 || index > c->count()) index = c->count();
    QSignalBlocker quiet(c);
    QString keep = c->isEditable() ? c->currentText() : QString();
    int selected = c->currentIndex();
    c->insertItem(index, QString::fromUtf8(text));
    // A list box never selects an item on its own when one is added.
    c->setCurrentIndex(selected >= index && selected >= 0 ? selected + 1 : selected);
    if (c->isEditable()) c->setEditText(keep);
    return index;
}

int CComboBox::DeleteString(UINT index) {
    QComboBox* c = Combo(this);
    if (!c || static_cast<int>(index) >= c->count()) return CB_ERR;
    QSignalBlocker quiet(c);
    c->removeItem(static_cast<int>(index));
    return c->count();
}

void CComboBox::ResetContent() {
    QComboBox* c = Combo(this);
    if (!c) return;
    QSignalBlocker quiet(c);
    c->clear();
    if (c->isEditable()) c->setEditText(QString());
}

int CComboBox::GetCount() const {
    QComboBox* c = Combo(this);
    return c ? c->count() : CB_ERR;
}

int CComboBox::GetCurSel() const {
    QComboBox* c = Combo(this);
    if (!c) return CB_ERR;
    // Typing over the chosen item of a combo with an edit field leaves the item chosen in the
    // list; the selection is what the field shows: an item of that text, or none.
    if (c->isEditable() && c->currentText() != c->itemText(c->currentIndex()))
        return FindStringExact(-1, c->currentText().toUtf8().constData());
    return c->currentIndex() >= 0 ? c->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int index) {
    QComboBox* c = Combo(this);
    if (!c) return CB_ERR;
    QSignalBlocker quiet(c);
    if (index < 0 || index >= c->count()) {
        c->setCurrentIndex(-1);
        if (c->isEditable()) c->setEditText(QString());
        return CB_ERR;
    }
    c->setCurrentIndex(index);
    // The field shows the item chosen, also over text the user typed.
    if (c->isEditable()) c->setEditText(c->itemText(index));
    return index;
}

void CComboBox::GetLBText(int index, CString& text) const {
    QComboBox* c = Combo(this);
    text = (c && index >= 0 && index < c->count()) ? c->itemText(index).toUtf8().constData() : "";
}

int CComboBox::GetLBTextLen(int index) const {
    CString t;
    GetLBText(index, t);
    return t.GetLength();
}

int CComboBox::FindStringExact(int startAfter, const char* text) const {
    QComboBox* c = Combo(this);
    if (!c) return CB_ERR;
    int n = c->count();
    for (int k = 1; k <= n; ++k) {
        int i = (startAfter + k + n) % n;
        if (platform::CompareListText(c->itemText(i).toUtf8().constData(), text) == 0) return i;
    }
    return CB_ERR;
}

int CComboBox::SelectString(int startAfter, const char* text) {
    QComboBox* c = Combo(this);
    if (!c) return CB_ERR;
    QString prefix = QString::fromUtf8(text);
    int n = c->count();
    for (int k = 1; k <= n; ++k) {
        int i = (startAfter + k + n) % n;
        if (c->itemText(i).startsWith(prefix, Qt::CaseInsensitive)) return SetCurSel(i);
    }
    return CB_ERR;
}

int CComboBox::SetItemData(int index, DWORD_PTR data) {
    QComboBox* c = Combo(this);
    if (!c || index < 0 || index >= c->count()) return CB_ERR;
    c->setItemData(index, QVariant::fromValue<qulonglong>(data));
    return 0;
}

DWORD_PTR CComboBox::GetItemData(int index) const {
    QComboBox* c = Combo(this);
    if (!c || index < 0 || index >= c->count()) return static_cast<DWORD_PTR>(CB_ERR);
    return static_cast<DWORD_PTR>(c->itemData(index).toULongLong());
}
