#include "RoomChatDialogs.h"


#include "FindUserDlg.h"
#include "ShortMessage.h"
#include "UserItem.h"
#include "UserManager.h"

CRoomChatDialogs::CRoomChatDialogs(CRoomViewItem* pView) : m_pView(pView), m_pFindUser(NULL)
{
    for (CShortMessage*& pWhisper : m_pWhispers)
        pWhisper = NULL;
}

CRoomChatDialogs::~CRoomChatDialogs()
{
    for (CShortMessage*& pWhisper : m_pWhispers) {
        delete pWhisper;
        pWhisper = NULL;
    }
    delete m_pFindUser;
}

CShortMessage* CRoomChatDialogs::GetWhisper(int nIndex) const
{
    return nIndex >= 0 && nIndex < MAX_WHISPER_WINDOWS ? m_pWhispers[nIndex] : NULL;
}

bool CRoomChatDialogs::CreateWhisperWindow(int nIndex)
{
    if (nIndex < 0 || nIndex >= MAX_WHISPER_WINDOWS)
        return false;
    if (m_pWhispers[nIndex] == NULL)
        m_pWhispers[nIndex] = new CShortMessage(m_pView);
    return m_pWhispers[nIndex]->GetSafeHwnd() != NULL || m_pWhispers[nIndex]->CreateWindowOnly();
}

bool CRoomChatDialogs::IsWhisperWindow(int nIndex) const
{
    CShortMessage* pWhisper = GetWhisper(nIndex);
    return pWhisper != NULL && pWhisper->GetSafeHwnd() != NULL;
}

bool CRoomChatDialogs::IsWhisperVisible(int nIndex) const
{
    return IsWhisperWindow(nIndex) && GetWhisper(nIndex)->IsWindowVisible();
}

void CRoomChatDialogs::ShowWhisper(int nIndex, DWORD dwUserID, LPCSTR pszText, COLORREF crColour)
{
    if (!IsWhisperWindow(nIndex) || m_pView == NULL || m_pView->GetRoomDataCenter() == NULL)
        return;
    CUserItem* pUserItem = m_pView->GetRoomDataCenter()->GetUserManager()->SearchUserItem(dwUserID);
    if (pUserItem == NULL)
        return;
    CShortMessage* pWhisper = m_pWhispers[nIndex];
    pWhisper->SetChatUser(pUserItem);
    pWhisper->ShowWindow(SW_SHOW);
    if (pszText != NULL && pszText[0] != 0)
        pWhisper->InsertMessage(pWhisper->GetPartnerName(), pszText, crColour, false);
}

void CRoomChatDialogs::DestroyWhisperWindow(int nIndex)
{
    CShortMessage* pWhisper = GetWhisper(nIndex);
    if (pWhisper != NULL && pWhisper->GetSafeHwnd() != NULL)
        pWhisper->DestroyWindow();
}

void CRoomChatDialogs::ShowFindUser()
{
    if (m_pFindUser == NULL)
        m_pFindUser = new CFindUserDlg(m_pView);
    if (!m_pFindUser->CreateWindowOnly(m_pView))
        return;
    m_pFindUser->ShowWindow(SW_SHOW);
    m_pFindUser->SetForegroundWindow();
}

void CRoomChatDialogs::OnUserItemUpdate(CUserItem* pUserItem)
{
    if (m_pFindUser != NULL)
        m_pFindUser->UpdateUserItem(pUserItem);
}

void CRoomChatDialogs::OnUserItemDelete(CUserItem* pUserItem)
{
    if (m_pFindUser != NULL)
        m_pFindUser->DeleteUserItem(pUserItem);
}
