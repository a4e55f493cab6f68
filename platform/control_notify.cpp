#include "platform/control_notify.h"

#include <QRadioButton>
#include <QWidget>

#include "platform/native_controls.h"
#include "platform/styles.h"
#include "platform/wnd.h"

namespace platform {

void NotifyCommand(QWidget* control, UINT code) {
    CWnd* parent = CWnd::FromHandlePermanent(control->parentWidget());
    if (!parent) return;
    parent->Dispatch(WM_COMMAND,
                     MAKEWPARAM(static_cast<WORD>(WidgetId(control)), static_cast<WORD>(code)),
                     reinterpret_cast<LPARAM>(control));
}

LRESULT NotifyParent(QWidget* control, NMHDR* header) {
    CWnd* parent = CWnd::FromHandlePermanent(control->parentWidget());
    if (!parent) return 0;
    header->hwndFrom = control;
    header->idFrom = static_cast<UINT_PTR>(WidgetId(control));
    return parent->Dispatch(WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
}

void UncheckRadioSiblings(QWidget* radio) {
    QWidget* parent = radio->parentWidget();
    if (!parent) return;
    // Siblings in creation order; the group runs from a WS_GROUP control to the next one.
    QList<QWidget*> siblings;
    for (QObject* o : parent->children())
        if (auto* w = qobject_cast<QWidget*>(o)) siblings.push_back(w);
    int at = siblings.indexOf(radio);
    int first = at;
    while (first > 0 && !(WidgetStyle(siblings[first]) & WS_GROUP)) --first;
    for (int i = first; i < siblings.size(); ++i) {
        if (i > first && (WidgetStyle(siblings[i]) & WS_GROUP)) break;
        if (auto* r = qobject_cast<QRadioButton*>(siblings[i]); r && r != radio)
            r->setChecked(false);
    }
}

}  // namespace platform
