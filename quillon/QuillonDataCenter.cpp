#include "QuillonDataCenter.h"

#include <new>

#include "MachineID.h"
#include "QuillonRequestWriter.h"
#include "ServiceGlobalUnits.h"

namespace
{

const char kServerSection[] = "ServiceServer";
const WORD kDefaultPort = 9005;
const char kConnectedText[] = "连接成功";
const char kNoServerText[] = "连接用户服务服务器失败";

} // namespace

CQuillonDataCenter* CQuillonDataCenter::Create()
{
    CQuillonDataCenter* pDataCenter = new (std::nothrow) CQuillonDataCenter;
    if (pDataCenter != NULL)
        pDataCenter->AddRef();
    return pDataCenter;
}

CQuillonDataCenter::CQuillonDataCenter() : m_lRefCount(0), m_pISocket(NULL)
{
    LoadServerList();
}

CQuillonDataCenter::~CQuillonDataCenter()
{
    SetSocket(NULL);
    for (INT_PTR i = 0; i < m_PendingModify.GetSize(); ++i)
        delete m_PendingModify[i];
    m_PendingModify.RemoveAll();
}

ULONG CQuillonDataCenter::AddRef()
{
    return ULONG(++m_lRefCount);
}

ULONG CQuillonDataCenter::Release()
{
    LONG lCount = --m_lRefCount;
    if (lCount == 0)
        delete this;
    return ULONG(lCount);
}

HRESULT CQuillonDataCenter::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IQuillonDataCenter) || IsEqualGUID(iid, IID_IUnknownEx)) {
        *out = static_cast<IQuillonDataCenter*>(this);
    } else if (IsEqualGUID(iid, IID_IClientSocketSink)) {
        *out = static_cast<IClientSocketSink*>(this);
    } else {
        *out = NULL;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

void CQuillonDataCenter::SetSocket(IUnknownEx* pISocket)
{
    if (m_pISocket != NULL) {
        m_pISocket->Release();
        m_pISocket = NULL;
    }
    if (pISocket != NULL) {
        void* pObject = NULL;
        if (pISocket->QueryInterface(IID_IClientSocket, &pObject) == S_OK)
            m_pISocket = static_cast<IClientSocket*>(pObject);
    }
}

// ---- servers ------------------------------------------------------------------

CString CQuillonDataCenter::GetServerListPath()
{
    char szFolder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof(szFolder), szFolder);
    CString strPath;
    strPath.Format("%s\\Config\\ServiceServerList.ini", szFolder);
    return strPath;
}

void CQuillonDataCenter::LoadServerList()
{
    CString strPath = GetServerListPath();
    int nCount = int(GetPrivateProfileIntA(kServerSection, "ServerCount", 0, strPath));
    int nLast = int(GetPrivateProfileIntA(kServerSection, "LastServerID", 0, strPath));
    CServiceServerArray servers;
    for (int i = 0; i < nCount; ++i) {
        CString strSection;
        strSection.Format("%s%d", "Server", i);
        tagServiceServer server;
        memset(&server, 0, sizeof(server));
        GetPrivateProfileStringA(strSection, "IP", "", server.szAddress, sizeof(server.szAddress), strPath);
        if (server.szAddress[0] == '\0')
            continue;
        server.wPort = WORD(GetPrivateProfileIntA(strSection, "PORT", kDefaultPort, strPath));
        servers.Add(server);
    }
    // The saved index counts the entries that have an address.
    m_Rotation.Reset(servers, nLast);
}

bool CQuillonDataCenter::ConnectServer()
{
    tagServiceServer server;
    if (m_pISocket != NULL && m_Rotation.GetNextServer(server))
        return m_pISocket->Connect(server.szAddress, server.wPort);
    tagServiceConnectNotice notice = {1, kNoServerText};
    Notify(QN_CONNECT, LPARAM(&notice));
    return false;
}

bool CQuillonDataCenter::OnSocketConnect(int nErrorCode, LPCSTR)
{
    if (nErrorCode != 0) {
        ConnectServer();
        return true;
    }
    tagServiceConnectNotice notice = {0, kConnectedText};
    Notify(QN_CONNECT, LPARAM(&notice));
    int nIndex = m_Rotation.OnConnected();
    if (nIndex >= 0) {
        CString strIndex;
        strIndex.Format("%d", nIndex);
        WritePrivateProfileStringA(kServerSection, "LastServerID", strIndex, GetServerListPath());
    }
    return true;
}

bool CQuillonDataCenter::OnSocketClose()
{
    DWORD dwReason = m_pISocket != NULL ? m_pISocket->GetLastErrorCode() : 0;
    Notify(QN_CLOSED, LPARAM(dwReason));
    return true;
}

// ---- requests -----------------------------------------------------------------

bool CQuillonDataCenter::SendBody(WORD wMainCmdID, WORD wSubCmdID, bool bWritten, const CSafeMemFile& body,
                                  DWORD* pSerialNum)
{
    if (m_pISocket == NULL || !bWritten)
        return false;
    DWORD dwSerialNum = NextSerialNumber();
    if (pSerialNum != NULL)
        *pSerialNum = dwSerialNum;
    UINT nSize = body.GetDataSize();
    return m_pISocket->SendData(dwSerialNum, wMainCmdID, wSubCmdID, nSize == 0 ? NULL : body.GetData(), WORD(nSize));
}

bool CQuillonDataCenter::SendHead(WORD wMainCmdID, WORD wSubCmdID)
{
    if (m_pISocket == NULL)
        return false;
    return m_pISocket->SendData(NextSerialNumber(), wMainCmdID, wSubCmdID);
}

bool CQuillonDataCenter::SendLogon(DWORD dwUserID, LPCSTR pszPassword)
{
    char szMachineID[33];
    CMachineID::GetMachineID(szMachineID);
    CSafeMemFile body;
    bool bWritten = WriteLogonRequest(body, dwUserID, pszPassword, szMachineID);
    return SendBody(SERVICE_MAIN_LOGON, SERVICE_SUB_LOGON, bWritten, body);
}

bool CQuillonDataCenter::RequestUserInfo()
{
    CSafeMemFile body;
    bool bWritten = WriteUserInfoRequest(body);
    SendBody(SERVICE_MAIN_USER_INFO, SERVICE_SUB_USER_INFO, bWritten, body);
    return true;
}

bool CQuillonDataCenter::SendModifyPassword(LPCSTR pszOld, LPCSTR pszNew)
{
    if (m_pISocket == NULL)
        return false;
    CSafeMemFile body;
    bool bWritten = WritePasswordPairRequest(body, pszOld, pszNew);
    SendBody(SERVICE_MAIN_USER_INFO, SERVICE_SUB_MODIFY_PASSWORD, bWritten, body);
    return true;
}

bool CQuillonDataCenter::SendModifyUserInfo(const CModifyAttrArray& attrs)
{
    if (m_pISocket == NULL)
        return false;
    CSafeMemFile body;
    bool bWritten = WriteModifyUserInfoRequest(body, attrs);
    DWORD dwSerialNum = 0;
    if (!SendBody(SERVICE_MAIN_USER_INFO, SERVICE_SUB_MODIFY_USER_INFO, bWritten, body, &dwSerialNum))
        return false;
    tagPendingModify* pPending = new tagPendingModify;
    pPending->dwSerialNum = dwSerialNum;
    pPending->Attrs.Copy(attrs);
    m_PendingModify.Add(pPending);
    return true;
}

bool CQuillonDataCenter::RequestNickName(DWORD dwUserID)
{
    if (dwUserID == 0)
        return false;
    CSafeMemFile body;
    bool bWritten = WriteValueRequest(body, dwUserID);
    SendBody(SERVICE_MAIN_USER_INFO, SERVICE_SUB_NICKNAME, bWritten, body);
    return true;
}

bool CQuillonDataCenter::RequestBankInfo()
{
    SendHead(SERVICE_MAIN_BANK, SERVICE_SUB_BANK_INFO);
    return true;
}

bool CQuillonDataCenter::SendCheckBankPassword()
{
    SendHead(SERVICE_MAIN_BANK, SERVICE_SUB_CHECK_BANK_PASSWORD);
    return true;
}

bool CQuillonDataCenter::SendInitBankPassword(LPCSTR pszPassword)
{
    CSafeMemFile body;
    bool bWritten = WriteInitBankPasswordRequest(body, pszPassword);
    return SendBody(SERVICE_MAIN_BANK, SERVICE_SUB_INIT_BANK_PASSWORD, bWritten, body);
}

bool CQuillonDataCenter::SendDeposit(DWORD dwAmount)
{
    CSafeMemFile body;
    bool bWritten = WriteValueRequest(body, dwAmount);
    SendBody(SERVICE_MAIN_BANK, SERVICE_SUB_DEPOSIT, bWritten, body);
    return true;
}

bool CQuillonDataCenter::SendWithdraw(LONG lAmount, LPCSTR pszPassword)
{
    CSafeMemFile body;
    bool bWritten = WriteWithdrawRequest(body, pszPassword, DWORD(lAmount));
    SendBody(SERVICE_MAIN_BANK, SERVICE_SUB_WITHDRAW, bWritten, body);
    return true;
}

bool CQuillonDataCenter::SendModifyBankPassword(LPCSTR pszOld, LPCSTR pszNew)
{
    CSafeMemFile body;
    bool bWritten = WritePasswordPairRequest(body, pszOld, pszNew);
    SendBody(SERVICE_MAIN_BANK, SERVICE_SUB_BANK_PASSWORD, bWritten, body);
    return true;
}

bool CQuillonDataCenter::SendTransfer(DWORD dwTargetID, LPCSTR pszPassword, DWORD dwAmount)
{
    if (dwTargetID == 0 || dwAmount == 0 || pszPassword == NULL)
        return false;
    CSafeMemFile body;
    bool bWritten = WriteTransferRequest(body, dwTargetID, pszPassword, dwAmount);
    return SendBody(SERVICE_MAIN_BANK, SERVICE_SUB_TRANSFER, bWritten, body);
}

bool CQuillonDataCenter::SendExchange(WORD wDirection, LONGLONG llAmount)
{
    if (llAmount < kMinExchange)
        return false;
    g_ServiceUnits.ShowTip("请求中,请等待", 1000);
    CSafeMemFile body;
    bool bWritten = WriteExchangeRequest(body, wDirection, llAmount);
    return SendBody(SERVICE_MAIN_BANK, SERVICE_SUB_EXCHANGE, bWritten, body);
}

bool CQuillonDataCenter::SendGoldToHP(LONGLONG llAmount)
{
    return SendExchange(0, llAmount);
}

bool CQuillonDataCenter::SendHPToGold(LONGLONG llAmount)
{
    return SendExchange(1, llAmount);
}

bool CQuillonDataCenter::RequestPlayedGameList()
{
    SendHead(SERVICE_MAIN_SCORE, SERVICE_SUB_PLAYED_GAMES);
    return true;
}

bool CQuillonDataCenter::RequestGameScore(DWORD dwGameID)
{
    CSafeMemFile body;
    bool bWritten = WriteValueRequest(body, dwGameID);
    SendBody(SERVICE_MAIN_SCORE, SERVICE_SUB_GAME_SCORE, bWritten, body);
    return true;
}

// ---- replies ------------------------------------------------------------------

bool CQuillonDataCenter::OnSocketRead(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, void* pData, WORD wDataSize,
                                      IClientSocket*)
{
    if (pData == NULL)
        wDataSize = 0;
    switch (wMainCmdID) {
    case SERVICE_MAIN_LOGON: return OnLogonMessage(wSubCmdID, pData, wDataSize);
    case SERVICE_MAIN_USER_INFO: return OnUserInfoMessage(dwSerialNum, wSubCmdID, pData, wDataSize);
    case SERVICE_MAIN_BANK: return OnBankMessage(wSubCmdID, pData, wDataSize);
    case SERVICE_MAIN_SCORE: return OnScoreMessage(wSubCmdID, pData, wDataSize);
    default: return true;
    }
}

bool CQuillonDataCenter::OnLogonMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    if (wSubCmdID != SERVICE_SUB_LOGON + 1)
        return false;
    // A reply that cannot be read is a refusal.
    LONG lResult = ReadLogonReply(pData, wDataSize);
    Notify(QN_LOGON, LPARAM(&lResult));
    return true;
}

void CQuillonDataCenter::RaiseResult(const tagNotifyKey& key, const void* pData, WORD wDataSize, bool bByValue)
{
    LONG lResult = -1;
    if (!ReadResultReply(lResult, pData, wDataSize))
        return;
    Notify(key, bByValue ? LPARAM(lResult) : LPARAM(&lResult));
}

bool CQuillonDataCenter::OnUserInfoMessage(DWORD dwSerialNum, WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    switch (wSubCmdID) {
    case SERVICE_SUB_USER_INFO + 1: {
        tagServiceUserInfo reply;
        if (ReadUserInfoReply(reply, pData, wDataSize))
            Notify(QN_USER_INFO, LPARAM(&reply));
        break;
    }
    case SERVICE_SUB_MODIFY_USER_INFO + 1: {
        tagServiceModifyResult result;
        if (!ReadResultReply(result.lResult, pData, wDataSize))
            break;
        for (INT_PTR i = 0; i < m_PendingModify.GetSize(); ++i) {
            tagPendingModify* pPending = m_PendingModify[i];
            if (pPending->dwSerialNum != dwSerialNum)
                continue;
            result.Attrs.Copy(pPending->Attrs);
            m_PendingModify.RemoveAt(i);
            delete pPending;
            break;
        }
        Notify(QN_MODIFY_RESULT, LPARAM(&result));
        break;
    }
    case SERVICE_SUB_MODIFY_PASSWORD + 1: RaiseResult(QN_PASSWORD_RESULT, pData, wDataSize, false); break;
    case SERVICE_SUB_NICKNAME + 1: {
        tagServiceNickName reply;
        if (ReadNickNameReply(reply, pData, wDataSize))
            Notify(QN_NICKNAME, LPARAM(&reply));
        break;
    }
    default: break;
    }
    return true;
}

bool CQuillonDataCenter::OnBankMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    switch (wSubCmdID) {
    case SERVICE_SUB_BANK_INFO + 1: {
        tagServiceBankInfo reply;
        if (!ReadBankInfoReply(reply, pData, wDataSize))
            break;
        g_ServiceUnits.m_dRate1 = reply.dRate1;
        g_ServiceUnits.m_dRate2 = reply.dRate2;
        g_ServiceUnits.m_fTax1 = reply.fTax1;
        g_ServiceUnits.m_fTax2 = reply.fTax2;
        Notify(QN_BANK_INFO, LPARAM(&reply));
        break;
    }
    case SERVICE_SUB_DEPOSIT + 1: RaiseResult(QN_DEPOSIT, pData, wDataSize, false); break;
    case SERVICE_SUB_WITHDRAW + 1: RaiseResult(QN_WITHDRAW, pData, wDataSize, false); break;
    case SERVICE_SUB_BANK_PASSWORD + 1: RaiseResult(QN_BANK_PASSWORD, pData, wDataSize, false); break;
    case SERVICE_SUB_TRANSFER + 1: RaiseResult(QN_TRANSFER, pData, wDataSize, true); break;
    case SERVICE_SUB_EXCHANGE + 1: {
        tagServiceExchange reply;
        if (ReadExchangeReply(reply, pData, wDataSize))
            Notify(QN_EXCHANGE, LPARAM(&reply));
        break;
    }
    case SERVICE_SUB_CHECK_BANK_PASSWORD + 1: {
        tagServiceBankPasswordState reply;
        if (ReadBankPasswordStateReply(reply, pData, wDataSize))
            Notify(QN_BANK_PASSWORD_STATE, LPARAM(&reply));
        break;
    }
    case SERVICE_SUB_INIT_BANK_PASSWORD + 1: RaiseResult(QN_BANK_PASSWORD_SET, pData, wDataSize, true); break;
    default: break;
    }
    return true;
}

bool CQuillonDataCenter::OnScoreMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    switch (wSubCmdID) {
    case SERVICE_SUB_PLAYED_GAMES + 1: {
        CPlayedGameArray games;
        if (ReadPlayedGameListReply(games, pData, wDataSize))
            Notify(QN_PLAYED_GAMES, LPARAM(&games));
        break;
    }
    case SERVICE_SUB_GAME_SCORE + 1: {
        quillonproto::tagScore_GameScore reply;
        if (ReadGameScoreReply(reply, pData, wDataSize))
            Notify(QN_GAME_SCORE, LPARAM(&reply));
        break;
    }
    default: break;
    }
    return true;
}
