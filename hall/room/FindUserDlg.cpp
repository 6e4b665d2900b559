#include "FindUserDlg.h"

#include <string.h>

#include <string>

#include "GlobalUnits.h"
#include "SkinBar.h"
#include "TextUnit.h"
#include "UserItem.h"
#include "UserListView.h"
#include "UserManager.h"
#include "resource.h"

namespace
{

// ASCII letters lowered in single-byte characters only; a double-byte
// character is kept as it is.
std::string LowerText(const char* pszText)
{
    std::string text(pszText != NULL ? pszText : "");
    for (size_t nPos = 0; nPos < text.size();) {
        const size_t nSize = TextCharSize(text.data(), text.size(), nPos);
        if (nSize == 1 && text[nPos] >= 'A' && text[nPos] <= 'Z')
            text[nPos] = char(text[nPos] - 'A' + 'a');
        nPos += nSize;
    }
    return text;
}

} // namespace

// The list's sink part of the dialog.
class CFindUserSink : public IUserListSink
{
public:
    explicit CFindUserSink(CFindUserDlg* pDialog) : m_pDialog(pDialog) {}
    virtual ~CFindUserSink() {}

    ULONG AddRef() override { return ++m_pDialog->m_ulRefCount; }
    ULONG Release() override
    {
        if (m_pDialog->m_ulRefCount > 0)
            --m_pDialog->m_ulRefCount;
        return m_pDialog->m_ulRefCount;
    }
    HRESULT QueryInterface(REFGUID iid, void** out) override
    {
        if (out == NULL)
            return E_POINTER;
        if (IsEqualGUID(iid, IID_IUnknownEx) || IsEqualGUID(iid, IID_IUserListSink)) {
            *out = static_cast<IUserListSink*>(this);
            AddRef();
            return S_OK;
        }
        *out = NULL;
        return E_NOINTERFACE;
    }
    void OnUserListDblClick(NMHDR*, LRESULT*) override {}
    void OnUserListRClick(NMHDR* pNMHDR, LRESULT*) override
    {
        const NMITEMACTIVATE* pItem = reinterpret_cast<const NMITEMACTIVATE*>(pNMHDR);
        if (pItem == NULL || pItem->iItem == -1)
            return;
        CUserItem* pUserItem = m_pDialog->GetResultUser(pItem->iItem);
        if (pUserItem == NULL)
            return;
        POINT point;
        GetCursorPos(&point);
        m_pDialog->ShowRoomUserMenu(pUserItem, point.x, point.y);
    }
    void OnUserListClick(NMHDR*, LRESULT*) override {}
    void OnUserListMouseMove(int, bool) override {}
    void OnUserListKillFocus() override {}

private:
    CFindUserDlg* m_pDialog;
};

BEGIN_MESSAGE_MAP(CFindUserDlg, CRgnDialog)
END_MESSAGE_MAP()

CFindUserDlg::CFindUserDlg(CRoomViewItem* pView)
    : CRgnDialog(IDD_FIND_USER, NULL), m_ulRefCount(0), m_pView(pView), m_pResultList(new CUserListView),
      m_pSink(new CFindUserSink(this)), m_hScrollBar(NULL)
{}

CFindUserDlg::~CFindUserDlg()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pResultList;
    delete static_cast<CFindUserSink*>(m_pSink);
    if (m_hScrollBar != NULL)
        DeleteObject(m_hScrollBar);
}

BOOL CFindUserDlg::CreateWindowOnly(CWnd* pParent)
{
    if (GetSafeHwnd() != NULL)
        return TRUE;
    return Create(IDD_FIND_USER, pParent);
}

BOOL CFindUserDlg::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    SetWindowText("查找玩家");
    m_pSink->AddRef();
    m_Nickname.SubclassDlgItem(IDC_FIND_NICKNAME, this);
    m_btSearch.SubclassDlgItem(IDOK, this);
    m_btClose.SubclassDlgItem(IDCANCEL, this);
    m_pResultList->SubclassDlgItem(IDC_FIND_RESULTS, this);
    m_pResultList->LoadImageLists(m_pSink);
    m_pResultList->SetItemHeight(21);
    WORD wCount = 0;
    const void* pColumns = RoomColumns(wCount);
    // The room's column entries have the list's own 20-byte layout.
    if (pColumns != NULL && wCount != 0)
        m_pResultList->SetColumnDescribe(static_cast<const tagColumnItem*>(pColumns), wCount);
    m_Nickname.LimitText(FIND_NICKNAME_LIMIT);
    if (m_hScrollBar == NULL) {
        CString strPath;
        strPath.Format("%sCommon\\scrollbar\\scrollbar.bmp", g_GlobalUnits.GetResourceDirectory());
        m_hScrollBar = (HBITMAP)LoadImageA(NULL, strPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    }
    if (m_hScrollBar == NULL)
        return FALSE;
    SkinBar_Attach(m_pResultList->GetSafeHwnd(), m_hScrollBar);
    return TRUE;
}

HWND CFindUserDlg::GetResultList() const
{
    return m_pResultList->GetSafeHwnd();
}

int CFindUserDlg::GetResultCount() const
{
    return m_pResultList->GetSafeHwnd() != NULL ? m_pResultList->GetItemCount() : 0;
}

CUserItem* CFindUserDlg::GetResultUser(int nRow) const
{
    if (m_pResultList->GetSafeHwnd() == NULL || nRow < 0 || nRow >= m_pResultList->GetItemCount())
        return NULL;
    return reinterpret_cast<CUserItem*>(m_pResultList->GetItemData(nRow));
}

bool CFindUserDlg::NicknameMatches(LPCSTR pszNickName, LPCSTR pszText)
{
    const std::string nick = LowerText(pszNickName);
    const std::string text = LowerText(pszText);
    if (text.empty())
        return true;
    for (size_t nPos = 0; nPos + text.size() <= nick.size();) {
        if (nick.compare(nPos, text.size(), text) == 0)
            return true;
        nPos += TextCharSize(nick.data(), nick.size(), nPos);
    }
    return false;
}

void CFindUserDlg::OnOK()
{
    OnSearch();
}

void CFindUserDlg::OnSearch()
{
    if (m_Nickname.GetSafeHwnd() == NULL)
        return;
    char szText[FIND_NICKNAME_LIMIT * 2 + 1] = "";
    ::GetWindowTextA(m_Nickname.GetSafeHwnd(), szText, sizeof(szText));
    if (szText[0] == 0) {
        AfxMessageBox("请输入要查找的 昵称 ！", MB_ICONQUESTION);
        m_Nickname.SetFocus();
        return;
    }
    CUserManager* pUsers = RoomUsers();
    if (pUsers == NULL)
        return;
    m_pResultList->DeleteAllItems();
    std::vector<CUserItem*> found;
    for (CUserItem* pUserItem : pUsers->GetUserItems()) {
        const tagUserData* pData = pUserItem->GetUserData();
        char szNick[sizeof(pData->szNickName) + 1];
        TextCopyField(szNick, sizeof(szNick), pData->szNickName, strnlen(pData->szNickName, sizeof(pData->szNickName)));
        if (NicknameMatches(szNick, szText))
            found.push_back(pUserItem);
    }
    if (found.empty()) {
        AfxMessageBox("找不到适合条件的用户信息！", MB_ICONQUESTION);
        m_Nickname.SetFocus();
        return;
    }
    for (CUserItem* pUserItem : found)
        m_pResultList->InsertUserItem(pUserItem, true);
}

void CFindUserDlg::UpdateUserItem(CUserItem* pUserItem)
{
    if (m_pResultList->GetSafeHwnd() != NULL)
        m_pResultList->UpdateUserItem(pUserItem);
}

void CFindUserDlg::DeleteUserItem(CUserItem* pUserItem)
{
    if (m_pResultList->GetSafeHwnd() != NULL)
        m_pResultList->DeleteUserItem(pUserItem);
}

void CFindUserDlg::OnCancel()
{
    DestroyWindow();
}
