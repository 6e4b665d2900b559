// Message-map entries of the class library (included by afxwin.h).
//
// Each entry carries a small thunk that cracks wParam/lParam for the handler's
// signature and calls the member on the object; the thunk is a lambda written
// inside the class's GetThisMessageMap, so it may call protected handlers and
// the compiler checks every handler against the message it is mapped to.
// A thunk returns FALSE when the handler declined (the _EX forms, and
// reflected handlers that return no brush), which lets the message go on.
#pragma once

#define AFX_MSG_ENTRY_(msg, code, id, lastId, ...)                                                                     \
    {(UINT)(msg),                                                                                                      \
     (UINT)(WORD)(code),                                                                                               \
     (UINT)(id),                                                                                                       \
     (UINT)(lastId),                                                                                                   \
     nullptr,                                                                                                          \
     [](CCmdTarget* pTarget_, AFX_MSGCALL& c_) -> BOOL {                                                               \
         ThisClass* p_ = static_cast<ThisClass*>(pTarget_);                                                            \
         (void)p_;                                                                                                     \
         (void)c_;                                                                                                     \
         __VA_ARGS__                                                                                                   \
     }},

#define AFX_MSG_POINT_(l) CPoint((int)(short)LOWORD(l), (int)(short)HIWORD(l))

// ---------------------------------------------------------------- messages

#define ON_MESSAGE(message, memberFxn)                                                                                 \
    AFX_MSG_ENTRY_(message, 0, 0, 0, c_.lResult = (LRESULT)p_->memberFxn(c_.wParam, c_.lParam); return TRUE;)

#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                             \
    {0xC000, 0, 0, 0, &(nMessageVariable), [](CCmdTarget* pTarget_, AFX_MSGCALL& c_) -> BOOL {                         \
         c_.lResult = (LRESULT) static_cast<ThisClass*>(pTarget_)->memberFxn(c_.wParam, c_.lParam);                    \
         return TRUE;                                                                                                  \
     }},

// Messages posted to a thread (CWinThread maps): void memberFxn(WPARAM, LPARAM).
#define ON_THREAD_MESSAGE(message, memberFxn)                                                                          \
    AFX_MSG_ENTRY_(message, 0, 0, 0, p_->memberFxn(c_.wParam, c_.lParam); return TRUE;)

// ---------------------------------------------------------------- commands

#define ON_COMMAND(id, memberFxn) AFX_MSG_ENTRY_(WM_COMMAND, CN_COMMAND, id, id, p_->memberFxn(); return TRUE;)
#define ON_COMMAND_EX(id, memberFxn) AFX_MSG_ENTRY_(WM_COMMAND, CN_COMMAND, id, id, return p_->memberFxn(c_.nID);)
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                                        \
    AFX_MSG_ENTRY_(WM_COMMAND, CN_COMMAND, id, idLast, p_->memberFxn(c_.nID); return TRUE;)
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)                                                                     \
    AFX_MSG_ENTRY_(WM_COMMAND, CN_COMMAND, id, idLast, return p_->memberFxn(c_.nID);)

#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                                         \
    AFX_MSG_ENTRY_(WM_COMMAND, wNotifyCode, id, id, p_->memberFxn(); return TRUE;)
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                                           \
    AFX_MSG_ENTRY_(WM_COMMAND, wNotifyCode, id, idLast, p_->memberFxn(c_.nID); return TRUE;)

#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                                          \
    AFX_MSG_ENTRY_(WM_NOTIFY, wNotifyCode, id, id, AFX_NOTIFY* pN_ = static_cast<AFX_NOTIFY*>(c_.pExtra);              \
                   p_->memberFxn(pN_->pNMHDR, pN_->pResult); return TRUE;)
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                                            \
    AFX_MSG_ENTRY_(WM_NOTIFY, wNotifyCode, id, idLast, AFX_NOTIFY* pN_ = static_cast<AFX_NOTIFY*>(c_.pExtra);          \
                   p_->memberFxn(c_.nID, pN_->pNMHDR, pN_->pResult); return TRUE;)
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                                                       \
    AFX_MSG_ENTRY_(WM_NOTIFY, wNotifyCode, id, id, AFX_NOTIFY* pN_ = static_cast<AFX_NOTIFY*>(c_.pExtra);              \
                   return p_->memberFxn(c_.nID, pN_->pNMHDR, pN_->pResult);)
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                                                         \
    AFX_MSG_ENTRY_(WM_NOTIFY, wNotifyCode, id, idLast, AFX_NOTIFY* pN_ = static_cast<AFX_NOTIFY*>(c_.pExtra);          \
                   return p_->memberFxn(c_.nID, pN_->pNMHDR, pN_->pResult);)

// Control notifications, by control kind.
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// ---------------------------------------------------------------- reflection
// Notifications a control sends to its parent, handled by the control itself.

#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                                     \
    AFX_MSG_ENTRY_(WM_REFLECT_BASE + WM_COMMAND, wNotifyCode, 0, 0, p_->memberFxn(); return TRUE;)
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                                                  \
    AFX_MSG_ENTRY_(WM_REFLECT_BASE + WM_COMMAND, wNotifyCode, 0, 0, return p_->memberFxn();)
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                                      \
    AFX_MSG_ENTRY_(WM_REFLECT_BASE + WM_NOTIFY, wNotifyCode, 0, 0,                                                     \
                   AFX_NOTIFY* pN_ = static_cast<AFX_NOTIFY*>(c_.pExtra);                                              \
                   p_->memberFxn(pN_->pNMHDR, pN_->pResult); return TRUE;)
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                                                   \
    AFX_MSG_ENTRY_(WM_REFLECT_BASE + WM_NOTIFY, wNotifyCode, 0, 0,                                                     \
                   AFX_NOTIFY* pN_ = static_cast<AFX_NOTIFY*>(c_.pExtra);                                              \
                   return p_->memberFxn(pN_->pNMHDR, pN_->pResult);)
// HBRUSH CtlColor(CDC* pDC, UINT nCtlColor); a null brush leaves the message to the parent.
#define ON_WM_CTLCOLOR_REFLECT()                                                                                       \
    AFX_MSG_ENTRY_(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0,                                                             \
                   AFX_CTLCOLOR* pC_ = reinterpret_cast<AFX_CTLCOLOR*>(c_.lParam);                                     \
                   HBRUSH h_ = p_->CtlColor(CDC::FromHandle(pC_->hDC), pC_->nCtlType); if (h_ == NULL) return FALSE;   \
                   c_.lResult = (LRESULT)h_; return TRUE;)
#define ON_WM_DRAWITEM_REFLECT()                                                                                       \
    AFX_MSG_ENTRY_(WM_REFLECT_BASE + WM_DRAWITEM, 0, 0, 0, p_->DrawItem((LPDRAWITEMSTRUCT)c_.lParam);                  \
                   c_.lResult = TRUE; return TRUE;)
#define ON_WM_MEASUREITEM_REFLECT()                                                                                    \
    AFX_MSG_ENTRY_(WM_REFLECT_BASE + WM_MEASUREITEM, 0, 0, 0, p_->MeasureItem((LPMEASUREITEMSTRUCT)c_.lParam);         \
                   c_.lResult = TRUE; return TRUE;)
#define ON_WM_HSCROLL_REFLECT()                                                                                        \
    AFX_MSG_ENTRY_(WM_REFLECT_BASE + WM_HSCROLL, 0, 0, 0,                                                              \
                   p_->HScroll(LOWORD(c_.wParam), (UINT)(int)(short)HIWORD(c_.wParam));                                \
                   return TRUE;)
#define ON_WM_VSCROLL_REFLECT()                                                                                        \
    AFX_MSG_ENTRY_(WM_REFLECT_BASE + WM_VSCROLL, 0, 0, 0,                                                              \
                   p_->VScroll(LOWORD(c_.wParam), (UINT)(int)(short)HIWORD(c_.wParam));                                \
                   return TRUE;)

// ---------------------------------------------------------------- window messages

#define ON_WM_CREATE()                                                                                                 \
    AFX_MSG_ENTRY_(WM_CREATE, 0, 0, 0, c_.lResult = (LRESULT)p_->OnCreate((LPCREATESTRUCT)c_.lParam); return TRUE;)
#define ON_WM_DESTROY() AFX_MSG_ENTRY_(WM_DESTROY, 0, 0, 0, p_->OnDestroy(); return TRUE;)
#define ON_WM_NCDESTROY() AFX_MSG_ENTRY_(WM_NCDESTROY, 0, 0, 0, p_->OnNcDestroy(); return TRUE;)
#define ON_WM_CLOSE() AFX_MSG_ENTRY_(WM_CLOSE, 0, 0, 0, p_->OnClose(); return TRUE;)
#define ON_WM_PAINT() AFX_MSG_ENTRY_(WM_PAINT, 0, 0, 0, p_->OnPaint(); return TRUE;)
#define ON_WM_NCPAINT() AFX_MSG_ENTRY_(WM_NCPAINT, 0, 0, 0, p_->OnNcPaint(); return TRUE;)
#define ON_WM_ERASEBKGND()                                                                                             \
    AFX_MSG_ENTRY_(WM_ERASEBKGND, 0, 0, 0, c_.lResult = (LRESULT)p_->OnEraseBkgnd(CDC::FromHandle((HDC)c_.wParam));    \
                   return TRUE;)
#define ON_WM_SIZE()                                                                                                   \
    AFX_MSG_ENTRY_(WM_SIZE, 0, 0, 0,                                                                                   \
                   p_->OnSize((UINT)c_.wParam, (int)(short)LOWORD(c_.lParam), (int)(short)HIWORD(c_.lParam));          \
                   return TRUE;)
#define ON_WM_MOVE()                                                                                                   \
    AFX_MSG_ENTRY_(WM_MOVE, 0, 0, 0, p_->OnMove((int)(short)LOWORD(c_.lParam), (int)(short)HIWORD(c_.lParam));         \
                   return TRUE;)
#define ON_WM_TIMER() AFX_MSG_ENTRY_(WM_TIMER, 0, 0, 0, p_->OnTimer((UINT_PTR)c_.wParam); return TRUE;)
#define ON_WM_SHOWWINDOW()                                                                                             \
    AFX_MSG_ENTRY_(WM_SHOWWINDOW, 0, 0, 0, p_->OnShowWindow((BOOL)c_.wParam, (UINT)c_.lParam); return TRUE;)
#define ON_WM_ENABLE() AFX_MSG_ENTRY_(WM_ENABLE, 0, 0, 0, p_->OnEnable((BOOL)c_.wParam); return TRUE;)

#define AFX_MOUSE_ENTRY_(msg, fn)                                                                                      \
    AFX_MSG_ENTRY_(msg, 0, 0, 0, p_->fn((UINT)c_.wParam, AFX_MSG_POINT_(c_.lParam)); return TRUE;)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY_(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY_(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY_(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_ENTRY_(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE_ENTRY_(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_MOUSE_ENTRY_(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_MOUSE_ENTRY_(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_MOUSE_ENTRY_(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY_(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_MOUSEHOVER() AFX_MOUSE_ENTRY_(WM_MOUSEHOVER, OnMouseHover)
#define ON_WM_MOUSELEAVE() AFX_MSG_ENTRY_(WM_MOUSELEAVE, 0, 0, 0, p_->OnMouseLeave(); return TRUE;)
#define ON_WM_MOUSEWHEEL()                                                                                             \
    AFX_MSG_ENTRY_(WM_MOUSEWHEEL, 0, 0, 0,                                                                             \
                   c_.lResult = (LRESULT)p_->OnMouseWheel(LOWORD(c_.wParam), (short)HIWORD(c_.wParam),                 \
                                                          AFX_MSG_POINT_(c_.lParam));                                  \
                   return TRUE;)
#define ON_WM_MOUSEACTIVATE()                                                                                          \
    AFX_MSG_ENTRY_(WM_MOUSEACTIVATE, 0, 0, 0,                                                                          \
                   c_.lResult = (LRESULT)p_->OnMouseActivate(CWnd::FromHandle((HWND)c_.wParam), LOWORD(c_.lParam),     \
                                                             HIWORD(c_.lParam));                                       \
                   return TRUE;)
#define ON_WM_SETCURSOR()                                                                                              \
    AFX_MSG_ENTRY_(WM_SETCURSOR, 0, 0, 0,                                                                              \
                   c_.lResult = (LRESULT)p_->OnSetCursor(CWnd::FromHandle((HWND)c_.wParam), LOWORD(c_.lParam),         \
                                                         HIWORD(c_.lParam));                                           \
                   return TRUE;)
#define ON_WM_CAPTURECHANGED()                                                                                         \
    AFX_MSG_ENTRY_(WM_CAPTURECHANGED, 0, 0, 0, p_->OnCaptureChanged(CWnd::FromHandle((HWND)c_.lParam)); return TRUE;)
#define ON_WM_INITMENUPOPUP()                                                                                          \
    AFX_MSG_ENTRY_(                                                                                                    \
        WM_INITMENUPOPUP, 0, 0, 0,                                                                                     \
        p_->OnInitMenuPopup(CMenu::FromHandle((HMENU)c_.wParam), (UINT)LOWORD(c_.lParam), (BOOL)HIWORD(c_.lParam));    \
        return TRUE;)
#define ON_WM_CONTEXTMENU()                                                                                            \
    AFX_MSG_ENTRY_(WM_CONTEXTMENU, 0, 0, 0,                                                                            \
                   p_->OnContextMenu(CWnd::FromHandle((HWND)c_.wParam), AFX_MSG_POINT_(c_.lParam));                    \
                   return TRUE;)

#define AFX_KEY_ENTRY_(msg, fn)                                                                                        \
    AFX_MSG_ENTRY_(msg, 0, 0, 0, p_->fn((UINT)c_.wParam, LOWORD(c_.lParam), HIWORD(c_.lParam)); return TRUE;)
#define ON_WM_KEYDOWN() AFX_KEY_ENTRY_(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_KEY_ENTRY_(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() AFX_KEY_ENTRY_(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN() AFX_KEY_ENTRY_(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_KEY_ENTRY_(WM_SYSKEYUP, OnSysKeyUp)
#define ON_WM_SYSCHAR() AFX_KEY_ENTRY_(WM_SYSCHAR, OnSysChar)
#define ON_WM_GETDLGCODE()                                                                                             \
    AFX_MSG_ENTRY_(WM_GETDLGCODE, 0, 0, 0, c_.lResult = (LRESULT)p_->OnGetDlgCode(); return TRUE;)
#define ON_WM_HOTKEY()                                                                                                 \
    AFX_MSG_ENTRY_(WM_HOTKEY, 0, 0, 0, p_->OnHotKey((UINT)c_.wParam, LOWORD(c_.lParam), HIWORD(c_.lParam));            \
                   return TRUE;)

#define ON_WM_SETFOCUS()                                                                                               \
    AFX_MSG_ENTRY_(WM_SETFOCUS, 0, 0, 0, p_->OnSetFocus(CWnd::FromHandle((HWND)c_.wParam)); return TRUE;)
#define ON_WM_KILLFOCUS()                                                                                              \
    AFX_MSG_ENTRY_(WM_KILLFOCUS, 0, 0, 0, p_->OnKillFocus(CWnd::FromHandle((HWND)c_.wParam)); return TRUE;)

// HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor), for every WM_CTLCOLORxxx.
#define ON_WM_CTLCOLOR()                                                                                               \
    AFX_MSG_ENTRY_(WM_CTLCOLOR, 0, 0, 0, AFX_CTLCOLOR* pC_ = reinterpret_cast<AFX_CTLCOLOR*>(c_.lParam);               \
                   c_.lResult =                                                                                        \
                       (LRESULT)p_->OnCtlColor(CDC::FromHandle(pC_->hDC), CWnd::FromHandle(pC_->hWnd), pC_->nCtlType); \
                   return TRUE;)

#define ON_WM_NCHITTEST()                                                                                              \
    AFX_MSG_ENTRY_(WM_NCHITTEST, 0, 0, 0, c_.lResult = (LRESULT)p_->OnNcHitTest(AFX_MSG_POINT_(c_.lParam));            \
                   return TRUE;)
#define ON_WM_NCCALCSIZE()                                                                                             \
    AFX_MSG_ENTRY_(WM_NCCALCSIZE, 0, 0, 0, p_->OnNcCalcSize((BOOL)c_.wParam, (NCCALCSIZE_PARAMS*)c_.lParam);           \
                   return TRUE;)
#define AFX_NCMOUSE_ENTRY_(msg, fn)                                                                                    \
    AFX_MSG_ENTRY_(msg, 0, 0, 0, p_->fn((UINT)c_.wParam, AFX_MSG_POINT_(c_.lParam)); return TRUE;)
#define ON_WM_NCLBUTTONDOWN() AFX_NCMOUSE_ENTRY_(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_NCMOUSE_ENTRY_(WM_NCLBUTTONUP, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_NCMOUSE_ENTRY_(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() AFX_NCMOUSE_ENTRY_(WM_NCRBUTTONDOWN, OnNcRButtonDown)
#define ON_WM_NCMOUSEMOVE() AFX_NCMOUSE_ENTRY_(WM_NCMOUSEMOVE, OnNcMouseMove)
#define ON_WM_NCACTIVATE()                                                                                             \
    AFX_MSG_ENTRY_(WM_NCACTIVATE, 0, 0, 0, c_.lResult = (LRESULT)p_->OnNcActivate((BOOL)c_.wParam); return TRUE;)
#define ON_WM_ACTIVATE()                                                                                               \
    AFX_MSG_ENTRY_(WM_ACTIVATE, 0, 0, 0,                                                                               \
                   p_->OnActivate(LOWORD(c_.wParam), CWnd::FromHandle((HWND)c_.lParam), (BOOL)HIWORD(c_.wParam));      \
                   return TRUE;)
#define ON_WM_ACTIVATEAPP()                                                                                            \
    AFX_MSG_ENTRY_(WM_ACTIVATEAPP, 0, 0, 0, p_->OnActivateApp((BOOL)c_.wParam, (DWORD)c_.lParam); return TRUE;)
#define ON_WM_GETMINMAXINFO()                                                                                          \
    AFX_MSG_ENTRY_(WM_GETMINMAXINFO, 0, 0, 0, p_->OnGetMinMaxInfo((MINMAXINFO*)c_.lParam); return TRUE;)
#define ON_WM_SYSCOMMAND()                                                                                             \
    AFX_MSG_ENTRY_(WM_SYSCOMMAND, 0, 0, 0, p_->OnSysCommand((UINT)c_.wParam, c_.lParam); return TRUE;)
#define ON_WM_COPYDATA()                                                                                               \
    AFX_MSG_ENTRY_(WM_COPYDATA, 0, 0, 0,                                                                               \
                   c_.lResult =                                                                                        \
                       (LRESULT)p_->OnCopyData(CWnd::FromHandle((HWND)c_.wParam), (COPYDATASTRUCT*)c_.lParam);         \
                   return TRUE;)
#define ON_WM_HSCROLL()                                                                                                \
    AFX_MSG_ENTRY_(WM_HSCROLL, 0, 0, 0,                                                                                \
                   p_->OnHScroll(LOWORD(c_.wParam), (UINT)(int)(short)HIWORD(c_.wParam),                               \
                                 (CScrollBar*)CWnd::FromHandle((HWND)c_.lParam));                                      \
                   return TRUE;)
#define ON_WM_VSCROLL()                                                                                                \
    AFX_MSG_ENTRY_(WM_VSCROLL, 0, 0, 0,                                                                                \
                   p_->OnVScroll(LOWORD(c_.wParam), (UINT)(int)(short)HIWORD(c_.wParam),                               \
                                 (CScrollBar*)CWnd::FromHandle((HWND)c_.lParam));                                      \
                   return TRUE;)
#define ON_WM_DRAWITEM()                                                                                               \
    AFX_MSG_ENTRY_(WM_DRAWITEM, 0, 0, 0, p_->OnDrawItem((int)c_.wParam, (LPDRAWITEMSTRUCT)c_.lParam);                  \
                   c_.lResult = TRUE; return TRUE;)
#define ON_WM_MEASUREITEM()                                                                                            \
    AFX_MSG_ENTRY_(WM_MEASUREITEM, 0, 0, 0, p_->OnMeasureItem((int)c_.wParam, (LPMEASUREITEMSTRUCT)c_.lParam);         \
                   c_.lResult = TRUE; return TRUE;)
#define ON_WM_COMPAREITEM()                                                                                            \
    AFX_MSG_ENTRY_(WM_COMPAREITEM, 0, 0, 0,                                                                            \
                   c_.lResult = (LRESULT)p_->OnCompareItem((int)c_.wParam, (LPCOMPAREITEMSTRUCT)c_.lParam);            \
                   return TRUE;)
#define ON_WM_DELETEITEM()                                                                                             \
    AFX_MSG_ENTRY_(WM_DELETEITEM, 0, 0, 0, p_->OnDeleteItem((int)c_.wParam, (LPDELETEITEMSTRUCT)c_.lParam);            \
                   c_.lResult = TRUE; return TRUE;)
#define ON_WM_WINDOWPOSCHANGED()                                                                                       \
    AFX_MSG_ENTRY_(WM_WINDOWPOSCHANGED, 0, 0, 0, p_->OnWindowPosChanged((WINDOWPOS*)c_.lParam); return TRUE;)
#define ON_WM_WINDOWPOSCHANGING()                                                                                      \
    AFX_MSG_ENTRY_(WM_WINDOWPOSCHANGING, 0, 0, 0, p_->OnWindowPosChanging((WINDOWPOS*)c_.lParam); return TRUE;)
#define ON_WM_SETTINGCHANGE()                                                                                          \
    AFX_MSG_ENTRY_(WM_SETTINGCHANGE, 0, 0, 0, p_->OnSettingChange((UINT)c_.wParam, (LPCTSTR)c_.lParam); return TRUE;)
#define ON_WM_QUERYDRAGICON()                                                                                          \
    AFX_MSG_ENTRY_(WM_QUERYDRAGICON, 0, 0, 0, c_.lResult = (LRESULT)p_->OnQueryDragIcon(); return TRUE;)
#define ON_WM_PARENTNOTIFY()                                                                                           \
    AFX_MSG_ENTRY_(WM_PARENTNOTIFY, 0, 0, 0, p_->OnParentNotify((UINT)c_.wParam, c_.lParam); return TRUE;)
