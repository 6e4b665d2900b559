#include "RoomViewDialogs.h"

#include "PlayInfoPanel.h"
#include "RoomChatDialogs.h"
#include "RoomPassDlg.h"
#include "RoomViewItem.h"
#include "resource.h"

namespace
{
// The card's top left corner from the room window's top right.
const int kPlayInfoRight = 207;
const int kPlayInfoTop = 23;
} // namespace

CRoomViewDialogs::CRoomViewDialogs() : m_pView(NULL), m_pChat(NULL), m_pPlayInfo(NULL) {}

CRoomViewDialogs::~CRoomViewDialogs()
{
    delete m_pPlayInfo;
    delete m_pChat;
}

void CRoomViewDialogs::SetRoomView(CRoomViewItem* pView)
{
    if (pView == m_pView)
        return;
    delete m_pPlayInfo;
    m_pPlayInfo = NULL;
    delete m_pChat;
    m_pChat = NULL;
    m_pView = pView;
    if (pView != NULL)
        m_pChat = new CRoomChatDialogs(pView);
}

void CRoomViewDialogs::ForgetRoomView(CRoomViewItem* pView)
{
    if (pView == m_pView)
        SetRoomView(NULL);
}

bool CRoomViewDialogs::RunRoomPassDlg(CWnd* pParent, CString& strPassword)
{
    CRoomPassDlg dlg(pParent);
    if (dlg.DoModal() != IDOK)
        return false;
    strPassword = dlg.m_strPassword;
    return true;
}

bool CRoomViewDialogs::RunTablePassDlg(CWnd* pParent, CString& strPassword)
{
    CTablePassDlg dlg(pParent);
    if (dlg.DoModal() != IDOK)
        return false;
    strPassword = dlg.m_strPassword;
    return true;
}

bool CRoomViewDialogs::CreateWhisperWindow(CWnd*, int nIndex)
{
    return m_pChat != NULL && m_pChat->CreateWhisperWindow(nIndex);
}

bool CRoomViewDialogs::IsWhisperWindow(int nIndex)
{
    return m_pChat != NULL && m_pChat->IsWhisperWindow(nIndex);
}

bool CRoomViewDialogs::IsWhisperVisible(int nIndex)
{
    return m_pChat != NULL && m_pChat->IsWhisperVisible(nIndex);
}

void CRoomViewDialogs::ShowWhisper(int nIndex, DWORD dwUserID, LPCSTR pszText, COLORREF crColor)
{
    if (m_pChat != NULL)
        m_pChat->ShowWhisper(nIndex, dwUserID, pszText, crColor);
}

void CRoomViewDialogs::DestroyWhisperWindow(int nIndex)
{
    if (m_pChat != NULL)
        m_pChat->DestroyWhisperWindow(nIndex);
}

void CRoomViewDialogs::ShowFindUser(CWnd*)
{
    if (m_pChat != NULL)
        m_pChat->ShowFindUser();
}

void CRoomViewDialogs::OnUserItemUpdate(CRoomViewItem* pView, CUserItem* pUserItem)
{
    if (m_pChat != NULL && pView == m_pView)
        m_pChat->OnUserItemUpdate(pUserItem);
}

void CRoomViewDialogs::OnUserItemDelete(CRoomViewItem* pView, CUserItem* pUserItem)
{
    if (pView != m_pView)
        return;
    if (m_pChat != NULL)
        m_pChat->OnUserItemDelete(pUserItem);
    if (m_pPlayInfo != NULL)
        m_pPlayInfo->OnUserItemDelete(pUserItem);
}

// The card belongs to the shown room: it hides when the player leaves and
// goes with the room.
void CRoomViewDialogs::ShowPlayerInfo(CWnd* pParent, const CUserItem* pUserItem, const CRect& rect, DWORD)
{
    if (pUserItem == NULL || pParent == NULL || pParent != m_pView)
        return;
    if (m_pPlayInfo == NULL) {
        m_pPlayInfo = new CPlayInfoPanel;
        if (!m_pPlayInfo->Create(IDD_PLAYER_INFO, pParent)) {
            delete m_pPlayInfo;
            m_pPlayInfo = NULL;
            return;
        }
        m_pPlayInfo->SetRoomViewItem(pParent);
    }
    m_pPlayInfo->ShowPlayerInfo(const_cast<CUserItem*>(pUserItem), rect.left, rect.top, rect.right, rect.bottom);
    CRect rcView;
    pParent->GetWindowRect(&rcView);
    m_pPlayInfo->SetWindowPos(NULL, rcView.right - kPlayInfoRight, rcView.top + kPlayInfoTop, 0, 0,
                              SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_pPlayInfo->ShowWindow(SW_SHOW);
}

void CRoomViewDialogs::HidePlayerInfoAway(CWnd* pParent)
{
    if (pParent == NULL || pParent != m_pView || m_pPlayInfo == NULL || !m_pPlayInfo->IsWindowVisible())
        return;
    CPoint point;
    AfxGetCursorPos(&point);
    CRect rcCard;
    m_pPlayInfo->GetWindowRect(&rcCard);
    if (!rcCard.PtInRect(point))
        m_pPlayInfo->ShowWindow(SW_HIDE);
}

void CRoomViewDialogs::ShowLargeFace(CWnd* pParent, const CUserItem* pUserItem)
{
    if (pUserItem == NULL)
        return;
    CLookBigFacePanel panel(pUserItem->GetUserID(), pParent);
    panel.DoModal();
}
