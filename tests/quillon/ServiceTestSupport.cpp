#include "ServiceTestSupport.h"

#include "ServiceGlobalUnits.h"

#include <direct.h>

const tagNotifyKey kServiceNotifyKeys[] = {
    QN_CONNECT,
    QN_LOGON,
    QN_CLOSED,
    QN_USER_INFO,
    QN_MODIFY_RESULT,
    QN_PASSWORD_RESULT,
    QN_NICKNAME,
    QN_BANK_INFO,
    QN_DEPOSIT,
    QN_WITHDRAW,
    QN_BANK_PASSWORD,
    QN_TRANSFER,
    QN_EXCHANGE,
    QN_BANK_PASSWORD_STATE,
    QN_BANK_PASSWORD_SET,
    QN_PLAYED_GAMES,
    QN_GAME_SCORE,
};
const size_t kServiceNotifyKeyCount = sizeof(kServiceNotifyKeys) / sizeof(kServiceNotifyKeys[0]);

CServiceRecorder::CServiceRecorder()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "ServiceNotifyRecorder";
    RegisterClassA(&wc);
    m_hWnd = CreateWindowA("ServiceNotifyRecorder", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, this);
}

CServiceRecorder::~CServiceRecorder()
{
    DestroyWindow(m_hWnd);
}

std::vector<tagHeardServiceNotify> CServiceRecorder::Of(const tagNotifyKey& key) const
{
    std::vector<tagHeardServiceNotify> result;
    for (const tagHeardServiceNotify& n : Heard)
        if (n.wMainCmdID == key.wMainCmdID && n.wSubCmdID == key.wSubCmdID)
            result.push_back(n);
    return result;
}

std::string CServiceRecorder::Keys() const
{
    std::string keys;
    for (const tagHeardServiceNotify& n : Heard)
        keys += "(" + std::to_string(n.wMainCmdID) + "," + std::to_string(n.wSubCmdID) + ")";
    return keys;
}

namespace
{

void CopyAttrs(std::vector<std::pair<WORD, std::string>>& out, const CModifyAttrArray& attrs)
{
    for (INT_PTR i = 0; i < attrs.GetSize(); ++i)
        out.push_back({attrs[i].wAttrID, attrs[i].szValue});
}

} // namespace

LRESULT CALLBACK CServiceRecorder::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE) {
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, LONG_PTR(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        return TRUE;
    }
    CServiceRecorder* self = reinterpret_cast<CServiceRecorder*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (uMsg != WM_QUILLON_NOTIFY || self == NULL)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    const tagNotifyHead* head = reinterpret_cast<const tagNotifyHead*>(wParam);
    tagHeardServiceNotify n = {};
    n.wMainCmdID = head->wMainCmdID;
    n.wSubCmdID = head->wSubCmdID;
    n.lValue = LONG(lParam);
    switch ((DWORD(n.wMainCmdID) << 16) | n.wSubCmdID) {
    case (100 << 16) | 101: {
        const tagServiceConnectNotice* p = reinterpret_cast<const tagServiceConnectNotice*>(lParam);
        n.lValue = p->lCode;
        n.strText = p->pszText;
        break;
    }
    case (200 << 16) | 201: {
        const tagServiceUserInfo* p = reinterpret_cast<const tagServiceUserInfo*>(lParam);
        n.lValue = p->lResult;
        n.dwValue = p->dwUserID;
        CopyAttrs(n.Attrs, p->Attrs);
        break;
    }
    case (200 << 16) | 202: {
        const tagServiceModifyResult* p = reinterpret_cast<const tagServiceModifyResult*>(lParam);
        n.lValue = p->lResult;
        CopyAttrs(n.Attrs, p->Attrs);
        break;
    }
    case (200 << 16) | 204: {
        const tagServiceNickName* p = reinterpret_cast<const tagServiceNickName*>(lParam);
        n.lValue = p->lResult;
        n.dwValue = p->dwUserID;
        n.strText = p->szNickName;
        break;
    }
    case (300 << 16) | 301: {
        const tagServiceBankInfo* p = reinterpret_cast<const tagServiceBankInfo*>(lParam);
        n.lValue = p->lResult;
        n.dwValue = p->dwBalance;
        break;
    }
    case (300 << 16) | 306: {
        const tagServiceExchange* p = reinterpret_cast<const tagServiceExchange*>(lParam);
        n.lValue = p->lResult;
        n.dwValue = DWORD(p->lKind);
        break;
    }
    case (300 << 16) | 307: {
        const tagServiceBankPasswordState* p = reinterpret_cast<const tagServiceBankPasswordState*>(lParam);
        n.lValue = p->lResult;
        n.dwValue = p->bInitialised ? 1 : 0;
        break;
    }
    case (500 << 16) | 501: {
        const CPlayedGameArray* p = reinterpret_cast<const CPlayedGameArray*>(lParam);
        n.lValue = 0;
        for (INT_PTR i = 0; i < p->GetSize(); ++i)
            n.Attrs.push_back({WORD((*p)[i].dwGameID), (*p)[i].szName});
        break;
    }
    case (500 << 16) | 502: {
        const quillonproto::tagScore_GameScore* p = reinterpret_cast<const quillonproto::tagScore_GameScore*>(lParam);
        n.lValue = p->lResult;
        n.dwValue = p->dwValues[0];
        break;
    }
    case (100 << 16) | 102:
    case (200 << 16) | 203:
    case (300 << 16) | 302:
    case (300 << 16) | 303:
    case (300 << 16) | 304: n.lValue = *reinterpret_cast<const LONG*>(lParam); break;
    default: break; // the lParam is the value itself
    }
    self->Heard.push_back(n);
    return 0;
}

CServiceFolder::CServiceFolder() : CTempFolder("quillon")
{
    char szOld[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof(szOld), szOld);
    m_strOldFolder = szOld;
    SetCurrentDirectoryA(Path().c_str());
}

CServiceFolder::~CServiceFolder()
{
    SetCurrentDirectoryA(m_strOldFolder.c_str());
}

void CServiceFolder::WriteServers(const std::vector<std::pair<std::string, WORD>>& servers, int nLastServerID,
                                  int nServerCount)
{
    if (nServerCount < 0)
        nServerCount = int(servers.size());
    std::string text = "[ServiceServer]\r\nServerCount=" + std::to_string(nServerCount) +
                       "\r\nLastServerID=" + std::to_string(nLastServerID) + "\r\n";
    for (size_t i = 0; i < servers.size(); ++i) {
        text += "[Server" + std::to_string(i) + "]\r\n";
        if (!servers[i].first.empty())
            text += "IP=" + servers[i].first + "\r\n";
        text += "PORT=" + std::to_string(servers[i].second) + "\r\n";
    }
    Write("Config\\ServiceServerList.ini", text);
}

int CServiceFolder::ReadLastServerID() const
{
    return int(
        GetPrivateProfileIntA("ServiceServer", "LastServerID", -100, File("Config\\ServiceServerList.ini").c_str()));
}

HRESULT CRecordingSocket::QueryInterface(REFGUID iid, void** out)
{
    if (IsEqualGUID(iid, IID_IClientSocket) || IsEqualGUID(iid, IID_IUnknownEx)) {
        *out = static_cast<IClientSocket*>(this);
        AddRef();
        return S_OK;
    }
    *out = NULL;
    return E_NOINTERFACE;
}

bool CRecordingSocket::Connect(LPCSTR pszServerAddr, WORD wPort)
{
    Connects.push_back(std::string(pszServerAddr) + ":" + std::to_string(wPort));
    return true;
}

bool CRecordingSocket::SendData(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    tagSent sent = {dwSerialNum, wMainCmdID, wSubCmdID, {}};
    if (pData != NULL)
        sent.Body.assign(static_cast<const BYTE*>(pData), static_cast<const BYTE*>(pData) + wDataSize);
    Sent.push_back(sent);
    return bAcceptSend;
}

void CServiceDialogTest::StartWithBlockName(const char* pszPrefix)
{
    static int s_nBlocks = 0;
    g_ServiceUnits.Reset();
    ASSERT_TRUE(m_Server.Start());
    m_Folder.WriteServers({{"127.0.0.1", m_Server.GetPort()}}, 0);
    m_strName = pszPrefix + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++s_nBlocks);
    SetCommandLine(m_strName);
}

void CServiceDialogTest::TearDown()
{
    if (m_hBlock != NULL)
        CloseHandle(m_hBlock);
    m_Server.Stop();
    g_ServiceUnits.Reset();
}

void CServiceDialogTest::SetCommandLine(const std::string& text)
{
    m_CmdLine.assign(text.begin(), text.end());
    m_CmdLine.push_back(0);
    AfxGetApp()->m_lpCmdLine = m_CmdLine.data();
}

void CServiceDialogTest::WriteBlock(const tagServiceShareData& block, const std::string& name)
{
    m_hBlock = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, sizeof(block),
                                  (name.empty() ? m_strName : name).c_str());
    ASSERT_NE(nullptr, m_hBlock);
    void* view = MapViewOfFile(m_hBlock, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(block));
    memcpy(view, &block, sizeof(block));
    UnmapViewOfFile(view);
}

std::vector<std::string> CServiceDialogTest::Boxes() const
{
    std::vector<std::string> texts;
    for (const CModalScript::Shown& shown : m_Script.Recorded())
        if (shown.nKind == afxModalMessageBox)
            texts.push_back(std::string(shown.strText));
    return texts;
}

CWinApp* TheTestApp()
{
    static CWinApp* app = new CWinApp("QuillonTests");
    return app;
}
