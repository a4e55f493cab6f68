#include "platform/native_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <QVariant>
#include <cstdlib>
#include <unordered_map>

#include "platform/bitmaps.h"
#include "platform/control_notify.h"
#include "platform/static_label.h"
#include "platform/styles.h"
#include "platform/tab_widget.h"
#include "platform/tree_look.h"

namespace platform {
namespace {

// What the template says of each control. Kept beside the widgets rather than as Qt properties:
// every data exchange looks its controls up by id, and a property lookup by name costs a
// search of the widget's whole meta-object each time.
struct Identity {
    CtrlKind kind;
    int id;
    DWORD style;
};
std::unordered_map<const QWidget*, Identity>& Identities() {
    static auto* identities = new std::unordered_map<const QWidget*, Identity>;
    return *identities;
}
const Identity* IdentityOf(const QWidget* w) {
    const auto it = Identities().find(w);
    return it == Identities().end() ? nullptr : &it->second;
}

QString ToQ(const char* text) {
    return QString::fromUtf8(text ? text : "");
}

QString ColorCss(COLORREF c) {
    return QString::asprintf("#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

void RestyleProgress(QProgressBar* bar) {
    QVariant bar_c = bar->property("kw_bar");
    QVariant bk_c = bar->property("kw_bk");
    QString css;
    if (bk_c.isValid())
        css +=
            "QProgressBar { background: " + ColorCss(bk_c.toUInt()) + "; border: 1px solid gray; }";
    if (bar_c.isValid())
        css += "QProgressBar::chunk { background: " + ColorCss(bar_c.toUInt()) + "; }";
    bar->setStyleSheet(css);
}

QWidget* MakeWidget(const ControlTemplate& c, QWidget* parent) {
    switch (c.kind) {
        case CtrlKind::PushButton: {
            auto* b = new QPushButton(ToQ(c.text), parent);
            b->setAutoDefault(false);
            QObject::connect(b, &QPushButton::clicked, [b] { NotifyCommand(b, 0 /*BN_CLICKED*/); });
            return b;
        }
        case CtrlKind::CheckBox: {
            auto* b = new QCheckBox(ToQ(c.text), parent);
            QObject::connect(b, &QCheckBox::clicked, [b] {
                // A click on the third state ticks the box, which is a two-state one again.
                b->setTristate(false);
                NotifyCommand(b, 0);
            });
            return b;
        }
        case CtrlKind::RadioButton: {
            auto* b = new QRadioButton(ToQ(c.text), parent);
            // The group rule (WS_GROUP to the next WS_GROUP) is the platform's, not Qt's.
            b->setAutoExclusive(false);
            if (c.style & BS_LEFTTEXT) b->setLayoutDirection(Qt::RightToLeft);
            QObject::connect(b, &QRadioButton::clicked, [b] {
                b->setChecked(true);
                UncheckRadioSiblings(b);
                NotifyCommand(b, 0);
            });
            return b;
        }
        case CtrlKind::GroupBox:
            return new QGroupBox(ToQ(c.text), parent);
        case CtrlKind::Edit: {
            auto* e = new QLineEdit(ToQ(c.text), parent);
            if (c.style & ES_NUMBER)
                e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), e));
            if (c.style & ES_CENTER) e->setAlignment(Qt::AlignHCenter);
            if (c.style & ES_RIGHT) e->setAlignment(Qt::AlignRight);
            QObject::connect(e, &QLineEdit::textChanged,
                             [e] { NotifyCommand(e, 0x0300 /*EN_CHANGE*/); });
            return e;
        }
        case CtrlKind::Static:
        case CtrlKind::Picture: {
            auto* l = new StaticLabel(parent);
            l->setTextFormat(Qt::PlainText);
            l->setText(ToQ(c.text));
            return l;
        }
        case CtrlKind::ComboBox: {
            auto* cb = new QComboBox(parent);
            cb->setEditable((c.style & 0x3) == CBS_DROPDOWN || (c.style & 0x3) == CBS_SIMPLE);
            cb->setInsertPolicy(QComboBox::NoInsert);
            // Only a user's choice notifies; selecting by program stays silent.
            QObject::connect(cb, &QComboBox::activated,
                             [cb](int) { NotifyCommand(cb, 1 /*CBN_SELCHANGE*/); });
            return cb;
        }
        case CtrlKind::Tree: {
            auto* t = new QTreeWidget(parent);
            t->setHeaderHidden(true);
            t->setColumnCount(1);
            ApplyTreeStyle(t, c.style);
            ConnectTreeNotifications(t);
            return t;
        }
        case CtrlKind::Tab:
            return new TabWidget(parent);
        case CtrlKind::Progress: {
            auto* p = new QProgressBar(parent);
            p->setTextVisible(false);
            p->setRange(0, 100);
            p->setValue(0);
            return p;
        }
        case CtrlKind::Window:
        case CtrlKind::Dialog:
            break;
    }
    return new QWidget(parent);
}

}  // namespace

CtrlKind WidgetKind(const QWidget* w) {
    const Identity* i = IdentityOf(w);
    return i ? i->kind : CtrlKind::Window;
}
int WidgetId(const QWidget* w) {
    const Identity* i = IdentityOf(w);
    return i ? i->id : 0;
}
DWORD WidgetStyle(const QWidget* w) {
    const Identity* i = IdentityOf(w);
    return i ? i->style : 0;
}

QWidget* ChildControl(const QWidget* parent, int id) {
    // Every refresh of a page looks up each of its controls here, many times a second while
    // monitoring: a flag test and one table lookup per child, no casts.
    for (QObject* child : parent->children()) {
        if (!child->isWidgetType()) continue;
        auto* w = static_cast<QWidget*>(child);
        if (const Identity* i = IdentityOf(w); i && i->id == id) return w;
    }
    return nullptr;
}

void SetWidgetIdentity(QWidget* w, CtrlKind kind, int id, DWORD style) {
    if (!Identities().insert_or_assign(w, Identity{kind, id, style}).second) return;
    QObject::connect(w, &QObject::destroyed, [w] { Identities().erase(w); });
}

QWidget* CreateControlWidget(const ControlTemplate& c, QWidget* parent, BaseUnits units) {
    QWidget* w = MakeWidget(c, parent);
    SetWidgetIdentity(w, c.kind, c.id, c.style);
    PixelRect r = DluToPixels(units, c.x, c.y, c.cx, c.cy);
    if (c.kind == CtrlKind::ComboBox) {
        // The template height of a combo box includes its drop-down list.
        r.cy = std::min(r.cy, w->sizeHint().height());
    }
    w->setGeometry(r.x, r.y, r.cx, r.cy);
    w->setMouseTracking(true);
    if (c.kind == CtrlKind::GroupBox) w->lower();
    // An icon static names its icon resource as "#id".
    if (c.kind == CtrlKind::Picture && (c.style & SS_TYPEMASK) == SS_ICON && c.text && c.text[0] == '#') {
        if (auto* label = qobject_cast<QLabel*>(w)) {
            label->setText(QString());
            label->setPixmap(IconOf(LoadIconResource(static_cast<UINT>(std::atoi(c.text + 1)))).pixmap(r.cx, r.cy));
        }
    }
    // A bitmap picture names its bitmap the same way and starts with it as its image.
    if (c.kind == CtrlKind::Picture && (c.style & SS_TYPEMASK) == SS_BITMAP && c.text && c.text[0] == '#') {
        if (auto* label = qobject_cast<QLabel*>(w)) {
            label->setText(QString());
            bool handled = false;
            NativeMessage(label, STM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(LoadBitmapResource(static_cast<UINT>(std::atoi(c.text + 1)))),
                          handled);
        }
    }
    ApplyNativeStyle(w);
    if (c.style & WS_DISABLED) w->setEnabled(false);
    w->setVisible(c.style & WS_VISIBLE);
    return w;
}

void SetNativeText(QWidget* w, const char* text) {
    QString t = ToQ(text);
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        b->setText(t);
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        g->setTitle(t);
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        // The same text again changes nothing: no change notice (as Qt gives none), and no
        // repaint of a value a telemetry refresh sets many times a second.
        if (e->text() != t) e->setText(t);
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(t);
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (c->isEditable()) c->setEditText(t);
    } else {
        w->setWindowTitle(t);
    }
}

CString GetNativeText(const QWidget* w) {
    QString t;
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) {
        t = b->text();
    } else if (auto* g = qobject_cast<const QGroupBox*>(w)) {
        t = g->title();
    } else if (auto* e = qobject_cast<const QLineEdit*>(w)) {
        t = e->text();
    } else if (auto* l = qobject_cast<const QLabel*>(w)) {
        t = l->text();
    } else if (auto* c = qobject_cast<const QComboBox*>(w)) {
        t = c->currentText();
    } else if (w) {
        t = w->windowTitle();
    }
    return CString(t.toUtf8().constData());
}

void ApplyNativeStyle(QWidget* w) {
    DWORD style = WidgetStyle(w);
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        e->setReadOnly(style & ES_READONLY);
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        Qt::Alignment align = Qt::AlignTop;
        DWORD type = style & SS_TYPEMASK;
        if (type == SS_BITMAP || type == SS_ICON) {
            align = (style & SS_CENTERIMAGE) ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignTop);
            l->setWordWrap(false);
        } else {
            align |= type == SS_CENTER ? Qt::AlignHCenter
                                       : (type == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft);
            if (style & SS_CENTERIMAGE) align = (align & ~Qt::AlignTop) | Qt::AlignVCenter;
            l->setWordWrap(true);
        }
        l->setAlignment(align);
        l->setFrameStyle((style & SS_SUNKEN) ? (QFrame::Panel | QFrame::Sunken) : QFrame::NoFrame);
    }
}

LRESULT NativeMessage(QWidget* w, UINT message, WPARAM wp, LPARAM lp, bool& handled) {
    handled = true;
    if (auto* p = qobject_cast<QProgressBar*>(w)) {
        switch (message) {
            case PBM_SETRANGE: {
                LRESULT old = MAKELONG(p->minimum(), p->maximum());
                p->setRange(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
                return old;
            }
            case PBM_SETRANGE32: {
                LRESULT old = MAKELONG(p->minimum(), p->maximum());
                p->setRange(static_cast<int>(wp), static_cast<int>(lp));
                return old;
            }
            case PBM_SETPOS: {
                LRESULT old = p->value();
                // The native bar clamps a position outside its range to the nearest end.
                p->setValue(std::clamp(static_cast<int>(wp), p->minimum(), p->maximum()));
                return old;
            }
            case PBM_GETPOS:
                return p->value();
            case PBM_SETBARCOLOR:
                p->setProperty("kw_bar", static_cast<uint>(lp));
                RestyleProgress(p);
                return 0;
            case PBM_SETBKCOLOR:
                p->setProperty("kw_bk", static_cast<uint>(lp));
                RestyleProgress(p);
                return 0;
        }
    }
    if (auto* l = qobject_cast<QLabel*>(w)) {
        if (message == STM_SETIMAGE && wp == IMAGE_BITMAP) {
            HBITMAP previous =
                reinterpret_cast<HBITMAP>(l->property("kw_image").value<qulonglong>());
            HBITMAP next = reinterpret_cast<HBITMAP>(lp);
            // Setting the same image again must not repaint: pages set it from their own paint.
            if (previous != next) {
                l->setProperty("kw_image",
                               static_cast<qulonglong>(reinterpret_cast<uintptr_t>(next)));
                if (next)
                    l->setPixmap(BitmapPixmap(next));
                else
                    l->clear();
            }
            return reinterpret_cast<LRESULT>(previous);
        }
        if (message == STM_GETIMAGE)
            return static_cast<LRESULT>(l->property("kw_image").value<qulonglong>());
    }
    handled = false;
    return 0;
}

}  // namespace platform
