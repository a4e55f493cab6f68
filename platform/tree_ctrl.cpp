#include "platform/tree_ctrl.h"

#include <QTreeWidget>

#include "platform/control_notify.h"

namespace {

QTreeWidget* Tree(const CWnd* w) {
    return qobject_cast<QTreeWidget*>(w->m_hWnd);
}
QTreeWidgetItem* Item(HTREEITEM h) {
    return reinterpret_cast<QTreeWidgetItem*>(h);
}
HTREEITEM Handle(QTreeWidgetItem* i) {
    return reinterpret_cast<HTREEITEM>(i);
}

constexpr int kDataRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kSelImageRole = Qt::UserRole + 2;
const char* kByProgram = "kw_select_by_program";

TVITEMA Describe(QTreeWidgetItem* item) {
    TVITEMA tv;
    tv.hItem = Handle(item);
    if (item) {
        tv.lParam = static_cast<LPARAM>(item->data(0, kDataRole).toLongLong());
        tv.iImage = item->data(0, kImageRole).toInt();
        tv.iSelectedImage = item->data(0, kSelImageRole).toInt();
    }
    return tv;
}

}  // namespace

namespace platform {

void ConnectTreeNotifications(QTreeWidget* tree) {
    QObject::connect(tree, &QTreeWidget::currentItemChanged,
                     [tree](QTreeWidgetItem* now, QTreeWidgetItem* before) {
                         NMTREEVIEWA nm;
                         nm.hdr.code = TVN_SELCHANGED;
                         nm.action =
                             tree->property(kByProgram).toBool() ? TVC_UNKNOWN : TVC_BYMOUSE;
                         nm.itemOld = Describe(before);
                         nm.itemNew = Describe(now);
                         NotifyParent(tree, &nm.hdr);
                     });
}

}  // namespace platform

HTREEITEM CTreeCtrl::InsertItem(const char* text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM insertAfter) {
    QTreeWidget* t = Tree(this);
    if (!t) return nullptr;
    auto* item = new QTreeWidgetItem(QStringList{QString::fromUtf8(text ? text : "")});
    item->setData(0, kDataRole, 0LL);
    item->setData(0, kImageRole, image);
    item->setData(0, kSelImageRole, selectedImage);
    if (parent == TVI_ROOT || parent == nullptr) {
        int at = insertAfter == TVI_FIRST ? 0 : t->topLevelItemCount();
        t->insertTopLevelItem(at, item);
    } else {
        QTreeWidgetItem* p = Item(parent);
        int at = insertAfter == TVI_FIRST ? 0 : p->childCount();
        p->insertChild(at, item);
    }
    return Handle(item);
}

HTREEITEM CTreeCtrl::InsertItem(const char* text, HTREEITEM parent, HTREEITEM insertAfter) {
    return InsertItem(text, 0, 0, parent, insertAfter);
}

BOOL CTreeCtrl::DeleteAllItems() {
    if (QTreeWidget* t = Tree(this)) {
        t->setProperty(kByProgram, true);
        t->clear();
        t->setProperty(kByProgram, false);
    }
    return TRUE;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
    if (!item) return FALSE;
    Item(item)->setData(0, kDataRole, static_cast<qlonglong>(data));
    return TRUE;
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
    return item ? static_cast<DWORD_PTR>(Item(item)->data(0, kDataRole).toLongLong()) : 0;
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const {
    return item ? CString(Item(item)->text(0).toUtf8().constData()) : CString();
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
    if (!item) return FALSE;
    image = Item(item)->data(0, kImageRole).toInt();
    selectedImage = Item(item)->data(0, kSelImageRole).toInt();
    return TRUE;
}

BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code) {
    if (!item) return FALSE;
    if (code & TVE_EXPAND) Item(item)->setExpanded(true);
    if (code & TVE_COLLAPSE) Item(item)->setExpanded(false);
    return TRUE;
}

BOOL CTreeCtrl::SelectItem(HTREEITEM item) {
    QTreeWidget* t = Tree(this);
    if (!t) return FALSE;
    t->setProperty(kByProgram, true);
    t->setCurrentItem(Item(item));
    t->setProperty(kByProgram, false);
    return TRUE;
}

HTREEITEM CTreeCtrl::GetSelectedItem() const {
    QTreeWidget* t = Tree(this);
    return t ? Handle(t->currentItem()) : nullptr;
}

HTREEITEM CTreeCtrl::GetRootItem() const {
    QTreeWidget* t = Tree(this);
    return t && t->topLevelItemCount() ? Handle(t->topLevelItem(0)) : nullptr;
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM item) const {
    if (!item) return GetRootItem();
    QTreeWidgetItem* i = Item(item);
    return i->childCount() ? Handle(i->child(0)) : nullptr;
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM item) const {
    QTreeWidget* t = Tree(this);
    if (!t || !item) return nullptr;
    QTreeWidgetItem* i = Item(item);
    if (QTreeWidgetItem* p = i->parent()) {
        int at = p->indexOfChild(i);
        return at + 1 < p->childCount() ? Handle(p->child(at + 1)) : nullptr;
    }
    int at = t->indexOfTopLevelItem(i);
    return at + 1 < t->topLevelItemCount() ? Handle(t->topLevelItem(at + 1)) : nullptr;
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM item) const {
    return item ? Handle(Item(item)->parent()) : nullptr;
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const {
    return item && Item(item)->childCount() > 0;
}

UINT CTreeCtrl::GetCount() const {
    QTreeWidget* t = Tree(this);
    if (!t) return 0;
    UINT n = 0;
    for (QTreeWidgetItemIterator it(t); *it; ++it) ++n;
    return n;
}

BOOL CTreeCtrl::IsExpanded(HTREEITEM item) const {
    return item && Item(item)->isExpanded();
}
