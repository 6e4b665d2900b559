// Tool tips of windows (CWnd::EnableToolTips): one tip control per thread
// whose single tool is whatever OnToolHitTest reported last.
#include "AfxImpl.h"
#include <afxcmn.h>

#include <cstdlib>

BOOL CWnd::EnableToolTips(BOOL bEnable)
{
    if (bEnable) {
        AfxGetThreadState()->m_bToolTipsEnabled = TRUE;
        m_nFlags |= WF_TOOLTIPS;
    } else {
        m_nFlags &= ~WF_TOOLTIPS;
        CancelToolTips();
    }
    return TRUE;
}

void PASCAL CWnd::CancelToolTips(BOOL bKeys)
{
    CToolTipCtrl* pToolTip = AfxGetThreadState()->m_pToolTip;
    if (pToolTip != NULL && ::IsWindow(pToolTip->m_hWnd))
        pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
}

BOOL CWnd::IsTopParentActive() const
{
    CWnd* pTop = GetTopLevelParent();
    if (pTop == NULL)
        return FALSE;
    HWND hForeground = ::GetForegroundWindow();
    return hForeground != NULL && hForeground == ::GetLastActivePopup(pTop->m_hWnd);
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    // The child by its rectangle: WindowFromPoint would skip disabled ones.
    CPoint ptScreen = point;
    ::ClientToScreen(m_hWnd, &ptScreen);
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != NULL; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if ((WORD)::GetDlgCtrlID(hChild) == (WORD)-1 || !(::GetWindowLong(hChild, GWL_STYLE) & WS_VISIBLE))
            continue;
        RECT rc;
        ::GetWindowRect(hChild, &rc);
        if (!::PtInRect(&rc, ptScreen))
            continue;
        if (pTI != NULL) {
            pTI->hwnd = m_hWnd;
            pTI->uId = (UINT_PTR)hChild;
            pTI->uFlags |= TTF_IDISHWND;
            pTI->lpszText = LPSTR_TEXTCALLBACK;
            if (!(::SendMessage(hChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON))
                pTI->uFlags |= TTF_NOTBUTTON | TTF_CENTERTIP;
        }
        return (INT_PTR)(WORD)::GetDlgCtrlID(hChild);
    }
    return -1;
}

namespace
{
// The thread's tip control lives as long as its window.
class CThreadToolTip : public CToolTipCtrl
{
protected:
    void PostNcDestroy() override { delete this; }
};
} // namespace

static void AfxRelayToolTipMessage(CToolTipCtrl* pToolTip, MSG* pMsg)
{
    // The tip control wants client coordinates of the window it hit-tests.
    MSG msg = *pMsg;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE || msg.message == WM_LBUTTONUP ||
        msg.message == WM_RBUTTONUP || msg.message == WM_MBUTTONUP) {
        POINT pt = msg.pt;
        ::ScreenToClient(msg.hwnd, &pt);
        msg.lParam = MAKELPARAM(pt.x, pt.y);
    }
    pToolTip->SendMessage(TTM_RELAYEVENT, 0, (LPARAM)&msg);
}

void CWnd::FilterToolTipMessage(MSG* pMsg)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    const UINT message = pMsg->message;
    const BOOL bMouseMove = message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE || message == WM_LBUTTONUP ||
                            message == WM_RBUTTONUP || message == WM_MBUTTONUP;
    const BOOL bButtonsUp =
        ::GetKeyState(VK_LBUTTON) >= 0 && ::GetKeyState(VK_RBUTTON) >= 0 && ::GetKeyState(VK_MBUTTON) >= 0;

    // The nearest window with tips at or above the message's window serves it.
    CWnd* pTipWnd = NULL;
    for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != NULL && (pWnd->m_nFlags & WF_TOOLTIPS)) {
            pTipWnd = pWnd;
            break;
        }
    }

    if (!(bMouseMove && bButtonsUp)) {
        if (pTipWnd != this)
            return;
        const BOOL bKeys = (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
                           (message >= WM_SYSKEYFIRST && message <= WM_SYSKEYLAST);
        if (bKeys || message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN ||
            message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK ||
            message == WM_NCLBUTTONDOWN || message == WM_NCLBUTTONDBLCLK || message == WM_NCRBUTTONDOWN ||
            message == WM_NCRBUTTONDBLCLK || message == WM_NCMBUTTONDOWN || message == WM_NCMBUTTONDBLCLK)
            CancelToolTips(bKeys);
        return;
    }
    if (pTipWnd != this) {
        if (pTipWnd == NULL) {
            pState->m_pLastHit = NULL;
            pState->m_nLastHit = -1;
        }
        return;
    }

    // One tip control per thread, owned by the top-level window it serves.
    CWnd* pOwner = GetParentOwner();
    CToolTipCtrl* pToolTip = pState->m_pToolTip;
    if (pToolTip != NULL && (!::IsWindow(pToolTip->m_hWnd) || pToolTip->GetOwner() != pOwner)) {
        AfxTermToolTips(pState);
        pToolTip = NULL;
    }
    if (pToolTip == NULL) {
        pToolTip = new CThreadToolTip;
        if (!pToolTip->Create(pOwner, TTS_ALWAYSTIP)) {
            delete pToolTip;
            return;
        }
        pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
        pState->m_pToolTip = pToolTip;
        pState->m_bLastInfo = FALSE;
        pState->m_pLastHit = NULL;
        pState->m_nLastHit = -1;
    }

    CPoint point = pMsg->pt;
    ::ScreenToClient(m_hWnd, &point);
    TOOLINFO tiHit;
    memset(&tiHit, 0, sizeof(tiHit));
    tiHit.cbSize = sizeof(tiHit);
    INT_PTR nHit = OnToolHitTest(point, &tiHit);

    CWnd* pHitWnd = nHit == -1 ? NULL : this;
    if (pState->m_nLastHit != nHit || pState->m_pLastHit != pHitWnd) {
        if (nHit != -1) {
            TOOLINFO ti = tiHit;
            ti.cbSize = sizeof(ti);
            ti.uFlags &= ~(TTF_NOTBUTTON | TTF_ALWAYSTIP);
            pToolTip->SendMessage(TTM_ADDTOOL, 0, (LPARAM)&ti);
            if ((tiHit.uFlags & TTF_ALWAYSTIP) || IsTopParentActive()) {
                pToolTip->SendMessage(TTM_ACTIVATE, TRUE);
                ::SetWindowPos(pToolTip->m_hWnd, HWND_TOP, 0, 0, 0, 0,
                               SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER);
            }
        } else {
            pToolTip->SendMessage(TTM_ACTIVATE, FALSE);
        }
        AfxRelayToolTipMessage(pToolTip, pMsg);
        // The old tool goes only now, after the tip has seen the move.
        if (pState->m_bLastInfo)
            pToolTip->SendMessage(TTM_DELTOOL, 0, (LPARAM)&pState->m_lastInfo);
        pState->m_pLastHit = pHitWnd;
        pState->m_nLastHit = nHit;
        pState->m_lastInfo = tiHit;
        pState->m_lastInfo.lpszText = NULL; // the control keeps its own copy
        pState->m_bLastInfo = nHit != -1;
    } else if (nHit != -1) {
        AfxRelayToolTipMessage(pToolTip, pMsg);
    }

    if (tiHit.lpszText != LPSTR_TEXTCALLBACK && tiHit.hinst == NULL)
        free(tiHit.lpszText);
}

void AfxToolTipWindowGone(CWnd* pWnd)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pToolTip == pWnd) {
        // The owner took the tip control with it; the object deletes itself.
        pState->m_pToolTip = NULL;
    } else if (pState->m_pLastHit == pWnd && pState->m_bLastInfo && pState->m_pToolTip != NULL &&
               ::IsWindow(pState->m_pToolTip->m_hWnd)) {
        // The window's tool goes with it: no tip for a window that is gone.
        pState->m_pToolTip->SendMessage(TTM_DELTOOL, 0, (LPARAM)&pState->m_lastInfo);
    } else if (pState->m_pLastHit != pWnd) {
        return;
    }
    pState->m_pLastHit = NULL;
    pState->m_nLastHit = -1;
    pState->m_bLastInfo = FALSE;
}

void AfxTermToolTips(AFX_THREAD_STATE* pState)
{
    CToolTipCtrl* pToolTip = pState->m_pToolTip;
    pState->m_pToolTip = nullptr;
    pState->m_pLastHit = nullptr;
    pState->m_nLastHit = -1;
    pState->m_bLastInfo = FALSE;
    if (pToolTip == nullptr)
        return;
    if (::IsWindow(pToolTip->m_hWnd))
        pToolTip->DestroyWindow(); // deletes the object
    else
        delete pToolTip;
}
