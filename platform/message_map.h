#pragma once
// Message maps as static tables: each entry binds a message (and, for commands and
// notifications, a control id and code) to a member function of the class that owns the map.
//
//   const platform::MessageMap* CMyDlg::GetMessageMap() const {
//       static const platform::MessageMap map{CDialogEx::ThisMessageMap(), {
//           platform::OnBnClicked(1002, &CMyDlg::OnBnClickedOpen),
//           platform::OnWmTimer(&CMyDlg::OnTimer),
//       }};
//       return &map;
//   }

#include <functional>
#include <vector>

#include "platform/win_types.h"

class CWnd;
struct NMHDR;
struct ICONHANDLE;

namespace platform {

struct MessageMapEntry {
    UINT message = 0;
    UINT code = 0;  // notification code of WM_COMMAND / WM_NOTIFY entries
    int id = 0;     // control id of WM_COMMAND / WM_NOTIFY entries
    std::function<LRESULT(CWnd*, WPARAM, LPARAM)> call;
};

struct MessageMap {
    const MessageMap* base = nullptr;
    std::vector<MessageMapEntry> entries;

    // The first entry for this message in this map or its bases, derived classes first.
    const MessageMapEntry* Find(UINT message, UINT code, int id) const;
};

constexpr UINT kWmCommand = 0x0111;
constexpr UINT kWmNotify = 0x004E;

template <class T>
MessageMapEntry OnCommandCode(UINT code, int id, void (T::*fn)()) {
    return {kWmCommand, code, id, [fn](CWnd* w, WPARAM, LPARAM) -> LRESULT {
                (static_cast<T*>(w)->*fn)();
                return 0;
            }};
}
template <class T>
MessageMapEntry OnBnClicked(int id, void (T::*fn)()) {
    return OnCommandCode(0 /*BN_CLICKED*/, id, fn);
}
template <class T>
MessageMapEntry OnCbnSelchange(int id, void (T::*fn)()) {
    return OnCommandCode(1 /*CBN_SELCHANGE*/, id, fn);
}
template <class T>
MessageMapEntry OnEnChange(int id, void (T::*fn)()) {
    return OnCommandCode(0x0300 /*EN_CHANGE*/, id, fn);
}
template <class T>
MessageMapEntry OnNotifyCode(UINT code, int id, void (T::*fn)(NMHDR*, LRESULT*)) {
    return {kWmNotify, code, id, [fn](CWnd* w, WPARAM, LPARAM lp) -> LRESULT {
                LRESULT result = 0;
                (static_cast<T*>(w)->*fn)(reinterpret_cast<NMHDR*>(lp), &result);
                return result;
            }};
}
template <class T>
MessageMapEntry OnWmTimer(void (T::*fn)(UINT_PTR)) {
    return {0x0113, 0, 0, [fn](CWnd* w, WPARAM wp, LPARAM) -> LRESULT {
                (static_cast<T*>(w)->*fn)(static_cast<UINT_PTR>(wp));
                return 0;
            }};
}
template <class T>
MessageMapEntry OnWmPaint(void (T::*fn)()) {
    return {0x000F, 0, 0, [fn](CWnd* w, WPARAM, LPARAM) -> LRESULT {
                (static_cast<T*>(w)->*fn)();
                return 0;
            }};
}
template <class T>
MessageMapEntry OnWmDeviceChange(BOOL (T::*fn)(UINT, DWORD_PTR)) {
    return {0x0219, 0, 0, [fn](CWnd* w, WPARAM wp, LPARAM lp) -> LRESULT {
                return (static_cast<T*>(w)->*fn)(static_cast<UINT>(wp), static_cast<DWORD_PTR>(lp));
            }};
}
template <class T>
MessageMapEntry OnWmSysCommand(void (T::*fn)(UINT, LPARAM)) {
    return {0x0112, 0, 0, [fn](CWnd* w, WPARAM wp, LPARAM lp) -> LRESULT {
                (static_cast<T*>(w)->*fn)(static_cast<UINT>(wp), lp);
                return 0;
            }};
}
template <class T>
MessageMapEntry OnWmQueryDragIcon(ICONHANDLE* (T::*fn)()) {
    return {0x0037, 0, 0, [fn](CWnd* w, WPARAM, LPARAM) -> LRESULT {
                return reinterpret_cast<LRESULT>((static_cast<T*>(w)->*fn)());
            }};
}
// Any other message, handled as (wParam, lParam) -> result.
template <class T>
MessageMapEntry OnMessage(UINT message, LRESULT (T::*fn)(WPARAM, LPARAM)) {
    return {message, 0, 0, [fn](CWnd* w, WPARAM wp, LPARAM lp) -> LRESULT {
                return (static_cast<T*>(w)->*fn)(wp, lp);
            }};
}

}  // namespace platform
