// Construction, the connect road, the socket sink, the requests and the
// displayed trees of the hall data centre. Server messages are in
// ClientDataCenterProtocol.cpp, the user-service program in
// ClientDataCenterService.cpp.
#include "ClientDataCenter.h"

#include <stdlib.h>
#include <string.h>

#include <functional>
#include <queue>
#include <unordered_map>
#include <vector>

#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallProtocol.h"
#include "IdIndex.h"
#include "IniFile.h"
#include "MD5Encrypt.h"
#include "SplitString.h"

namespace
{

const char kNoServerText[] = "连接服务器失败，请检查网络或者联系客服！";

// The own user's attributes asked for after a logon, in this order.
const WORD kUserInfoAttributes[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 17, 15, 16, 19};

LPCSTR TextOrEmpty(LPCSTR psz)
{
    return psz != NULL ? psz : "";
}

} // namespace

CString CClientDataCenter::s_strServiceProgram = "Quillon.exe";

CClientDataCenter::CClientDataCenter()
    : m_hShareMemory(NULL), m_pShareData(NULL), m_pServerTreeRoot(NULL), m_pSecondTreeRoot(NULL),
      m_pWebGameTreeRoot(NULL), m_TeamMap(10), m_nConnectAttempts(0)
{
    m_szShareName[0] = '\0';
    memset(&m_ServiceProcess, 0, sizeof(m_ServiceProcess));
    CreateShareBlock();
    // Without the socket module every request answers false.
    if (m_ClientSocket.CreateInstance())
        GetSocket()->SetSocketSink(static_cast<IClientSocketSink*>(this));
    g_GlobalUnits.SetGameTreeManager(&m_GameTreeManager);
}

CClientDataCenter::~CClientDataCenter()
{
    m_ClientSocket.CloseInstance();
    DeleteTrees();
    // The room map points into the rooms about to be freed.
    g_GlobalUnits.ClearRoomMap();
    m_GameTreeManager.ClearAll();
    if (g_GlobalUnits.GetGameTreeManager() == &m_GameTreeManager)
        g_GlobalUnits.SetGameTreeManager(NULL);
    TerminateService();
    CloseShareBlock();
    DeleteTeams();
}

void CClientDataCenter::SetServiceProgram(LPCSTR pszProgram)
{
    s_strServiceProgram = pszProgram;
}

HRESULT CClientDataCenter::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IClientSocketSink)) {
        *out = static_cast<IClientSocketSink*>(this);
    } else if (IsEqualGUID(iid, IID_IClientDataCenter) || IsEqualGUID(iid, IID_IUnknownEx)) {
        *out = static_cast<IClientDataCenter*>(this);
    } else {
        *out = NULL;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

// ---- sending ----------------------------------------------------------------------

bool CClientDataCenter::SendBody(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const CSafeMemFile& body)
{
    IClientSocket* pSocket = GetSocket();
    if (pSocket == NULL)
        return false;
    UINT nSize = body.GetDataSize();
    return pSocket->SendData(dwSerialNum, wMainCmdID, wSubCmdID, nSize == 0 ? NULL : body.GetData(), WORD(nSize));
}

template <class T>
bool CClientDataCenter::SendRecord(WORD wMainCmdID, WORD wSubCmdID, const T& record, HWND hWnd, DWORD* pSerialNum)
{
    if (GetSocket() == NULL)
        return false;
    DWORD dwSerialNum = NextSerialNumber();
    if (pSerialNum != NULL)
        *pSerialNum = dwSerialNum;
    CSafeMemFile body(RECORD_GROW_BYTES);
    // A body the packet cannot carry is not sent at all.
    if (!PackRecord(body, record))
        return false;
    if (!SendBody(dwSerialNum, wMainCmdID, wSubCmdID, body))
        return false;
    if (hWnd != NULL)
        AddSerialWindow(dwSerialNum, hWnd);
    return true;
}

bool CClientDataCenter::SendHead(WORD wMainCmdID, WORD wSubCmdID)
{
    IClientSocket* pSocket = GetSocket();
    if (pSocket == NULL)
        return false;
    return pSocket->SendData(NextSerialNumber(), wMainCmdID, wSubCmdID);
}

bool CClientDataCenter::IsGuest() const
{
    return g_GlobalUnits.GetGlobalUserData()->lLevel == GUEST_USER_LEVEL;
}

// ---- requests ---------------------------------------------------------------------

bool CClientDataCenter::SendTwoTexts(LPCSTR pszFirst, LPCSTR pszSecond)
{
    tagTwoTexts texts;
    CopyTextField(texts.szFirst, TextOrEmpty(pszFirst));
    CopyTextField(texts.szSecond, TextOrEmpty(pszSecond));
    return SendRecord(HALL_MAIN_TEXTS, HALL_SUB_TEXTS_TWO_TEXTS, texts);
}

bool CClientDataCenter::SendMachineLogon(DWORD& dwSerialNum, HWND hWnd)
{
    if (GetSocket() == NULL)
        return false;
    char szMachineID[33];
    g_GlobalUnits.GetMachineID(szMachineID);
    tagCountedString machine;
    machine.strText = szMachineID;
    return SendRecord(HALL_MAIN_USER, HALL_SUB_USER_MACHINE_LOGON, machine, hWnd, &dwSerialNum);
}

bool CClientDataCenter::SendRegister(LPCSTR pszAccounts, LPCSTR pszPassword, LPCSTR pszText3, BYTE cbValue,
                                     LPCSTR pszText5, LPCSTR pszText6)
{
    if (GetSocket() == NULL || !IsGuest())
        return false;
    if (pszAccounts == NULL || pszAccounts[0] == '\0' || pszPassword == NULL || pszPassword[0] == '\0' ||
        pszText3 == NULL || pszText3[0] == '\0')
        return false;
    char szDigest[CMD5Encrypt::kHexLength + 1];
    CMD5Encrypt::EncryptData(pszPassword, szDigest);
    WriteSharePassword(szDigest);
    tagRegisterRequest request;
    request.strAccounts = pszAccounts;
    request.strPassword = szDigest;
    request.strText3 = pszText3;
    request.cbValue = cbValue;
    request.strText5 = TextOrEmpty(pszText5);
    request.strText6 = TextOrEmpty(pszText6);
    return SendRecord(HALL_MAIN_USER, HALL_SUB_USER_REGISTER, request);
}

bool CClientDataCenter::CheckAccountName(LPCSTR pszAccounts)
{
    if (pszAccounts == NULL)
        return false;
    tagCountedString text;
    text.strText = pszAccounts;
    return SendRecord(HALL_MAIN_USER, HALL_SUB_USER_CHECK_ACCOUNT, text);
}

bool CClientDataCenter::CheckEmailAddress(LPCSTR pszEmail)
{
    if (pszEmail == NULL)
        return false;
    tagCountedString text;
    text.strText = pszEmail;
    return SendRecord(HALL_MAIN_USER, HALL_SUB_USER_CHECK_EMAIL, text);
}

bool CClientDataCenter::SubscribeOnlineCounts()
{
    bool bSubscribe = true;
    return SendRecord(HALL_MAIN_ONLINE_COUNT, HALL_SUB_ONLINE_COUNT_SUBSCRIBE, bSubscribe);
}

bool CClientDataCenter::SendNoticeRequest()
{
    return SendHead(HALL_MAIN_MESSAGE, HALL_SUB_MESSAGE_NOTICE);
}

bool CClientDataCenter::SendLogoff(bool bClose)
{
    bool bSent = SendHead(HALL_MAIN_USER, HALL_SUB_USER_LOGOFF);
    if (bClose && GetSocket() != NULL)
        GetSocket()->CloseSocket(false);
    return bSent;
}

bool CClientDataCenter::BuyItem(DWORD dwItemID, WORD wCount)
{
    if (IsGuest())
        return false;
    tagBuyItemRequest request = {dwItemID, wCount};
    return SendRecord(HALL_MAIN_USER_VALUE, HALL_SUB_USER_VALUE_BUY, request);
}

CRecordStore* CClientDataCenter::GetRecordStore()
{
    return &m_RecordStore;
}

bool CClientDataCenter::RequestStoreRecord1(DWORD dwID)
{
    return SendRecord(HALL_MAIN_RECORD_STORE, HALL_SUB_RECORD_STORE_REQUEST_1, dwID);
}

bool CClientDataCenter::RequestStoreRecord2(DWORD dwID)
{
    return SendRecord(HALL_MAIN_RECORD_STORE, HALL_SUB_RECORD_STORE_REQUEST_2, dwID);
}

bool CClientDataCenter::RequestStoreRecord3(DWORD dwID, BYTE cbValue)
{
    tagStoreValueRequest request = {dwID, cbValue};
    return SendRecord(HALL_MAIN_RECORD_STORE, HALL_SUB_RECORD_STORE_REQUEST_3, request);
}

bool CClientDataCenter::RequestStoreRecord4(DWORD dwID)
{
    return SendRecord(HALL_MAIN_RECORD_STORE, HALL_SUB_RECORD_STORE_REQUEST_4, dwID);
}

bool CClientDataCenter::CloseSocket()
{
    if (GetSocket() == NULL)
        return false;
    return GetSocket()->CloseSocket(false);
}

bool CClientDataCenter::ResetLogonState(bool bKeepConnection)
{
    if (!bKeepConnection)
        CloseSocket();
    DeleteTrees();
    g_GlobalUnits.ClearRoomMap();
    m_GameTreeManager.ClearAll();
    m_RecordStore.ClearEntries();
    TerminateService();
    return true;
}

bool CClientDataCenter::BindMachine(bool bLock)
{
    if (IsGuest() || GetSocket() == NULL)
        return false;
    if (!bLock)
        return SendHead(HALL_MAIN_USER, HALL_SUB_USER_RELEASE_MACHINE);
    char szMachineID[33];
    g_GlobalUnits.GetMachineID(szMachineID);
    CString strMachineID(szMachineID);
    return SendRecord(HALL_MAIN_USER, HALL_SUB_USER_BIND_MACHINE, strMachineID);
}

bool CClientDataCenter::SendSignature(LPCSTR pszSignature)
{
    tagIdTextList list;
    tagIdText item;
    item.wID = 15;
    CopyTextField(item.szText, TextOrEmpty(pszSignature));
    list.Items.Add(item);
    return SendRecord(HALL_MAIN_USER, HALL_SUB_USER_SIGNATURE, list);
}

bool CClientDataCenter::IsConnected()
{
    return GetSocket() != NULL && GetSocket()->GetSocketStatus() == SOCKET_STATUS_CONNECT;
}

bool CClientDataCenter::RequestPersonalInfo(DWORD dwValue)
{
    return SendRecord(HALL_MAIN_USER, HALL_SUB_USER_PERSONAL_INFO_REQUEST, dwValue);
}

bool CClientDataCenter::SendPersonalInfo(DWORD dwValue1, LPCSTR pszText1, LPCSTR pszText2, LPCSTR pszText3,
                                         DWORD dwValue2, LPCSTR pszText4)
{
    tagPersonalInfoRequest request;
    request.dwValue1 = dwValue1;
    request.strText1 = TextOrEmpty(pszText1);
    request.strText2 = TextOrEmpty(pszText2);
    request.strText3 = TextOrEmpty(pszText3);
    request.dwValue2 = dwValue2;
    request.strText4 = TextOrEmpty(pszText4);
    CSafeMemFile body(RECORD_GROW_BYTES);
    if (GetSocket() == NULL || !PackRecord(body, request))
        return false;
    return SendBody(0, HALL_MAIN_USER, HALL_SUB_USER_PERSONAL_INFO, body);
}

bool CClientDataCenter::GetTeamInfo(DWORD dwTeamID)
{
    CTeamManager* pTeam = NULL;
    if (LookupTeam(dwTeamID, pTeam)) {
        Notify(HN_TEAM_INFO, LPARAM(dwTeamID));
        return true;
    }
    CSafeMemFile body(RECORD_GROW_BYTES);
    if (GetSocket() == NULL || !PackRecord(body, dwTeamID))
        return false;
    return SendBody(0, HALL_MAIN_TEAM, HALL_SUB_TEAM_INFO, body);
}

bool CClientDataCenter::LookupTeam(DWORD dwTeamID, CTeamManager*& pTeam)
{
    return m_TeamMap.Lookup(dwTeamID, pTeam) != FALSE;
}

void CClientDataCenter::DeleteTeams()
{
    for (POSITION pos = m_TeamMap.GetStartPosition(); pos != NULL;) {
        DWORD dwTeamID = 0;
        CTeamManager* pTeam = NULL;
        m_TeamMap.GetNextAssoc(pos, dwTeamID, pTeam);
        delete pTeam;
    }
    m_TeamMap.RemoveAll();
}

// ---- IClientDataCenter ---------------------------------------------------------------

DWORD CClientDataCenter::GetSocketErrorCode()
{
    return GetSocket() != NULL ? GetSocket()->GetLastErrorCode() : 0;
}

DWORD CClientDataCenter::SetConnectTimeout(DWORD dwTimeout)
{
    return GetSocket() != NULL ? GetSocket()->SetConnectTimeout(dwTimeout) : 0;
}

bool CClientDataCenter::ConnectServer()
{
    if (GetSocket() == NULL)
        return false;
    m_nConnectAttempts = 0;
    return ConnectNextServer();
}

// One attempt per server of the round; the outcome of an attempt arrives in
// OnSocketConnect, which comes back here for the next server.
bool CClientDataCenter::ConnectNextServer()
{
    IClientSocket* pSocket = GetSocket();
    for (;;) {
        g_GlobalOption.SetConnectState(1);
        tagLogonServer* pServer = NULL;
        if (m_nConnectAttempts < g_GlobalOption.GetServerCount())
            pServer = g_GlobalOption.GetNextServer();
        if (pServer == NULL) {
            g_GlobalOption.SetLastServer(g_GlobalOption.GetLastServer());
            NotifyConnectResult(-1, kNoServerText);
            return true;
        }
        ++m_nConnectAttempts;
        char szHost[sizeof(pServer->szHost)];
        CopyTextField(szHost, pServer->szHost);
        if (szHost[0] == '\0')
            CopyTextField(szHost, pServer->szIP);
        Notify(HN_CONNECTING, 0);
        if (pSocket->GetSocketStatus() != SOCKET_STATUS_IDLE)
            pSocket->CloseSocket(false);
        // A server the module cannot even try counts as failed.
        if (pSocket->Connect(szHost, pServer->wPort))
            return true;
    }
}

void CClientDataCenter::NotifyConnectResult(LONG lErrorCode, LPCSTR pszErrorText)
{
    tagConnectNotice notice = {lErrorCode, pszErrorText};
    Notify(HN_CONNECT_RESULT, LPARAM(&notice));
}

bool CClientDataCenter::SendLogon(DWORD& dwSerialNum, HWND hWnd, const tagLogonInput& input)
{
    if (GetSocket() == NULL)
        return false;
    char szMachineID[33];
    g_GlobalUnits.GetMachineID(szMachineID);
    WriteSharePassword(input.szPassword);
    if (input.dwUserID == 0) {
        tagLogonByAccount logon;
        CopyTextField(logon.szAccounts, input.szAccounts);
        CopyTextField(logon.szPassword, input.szPassword);
        CopyTextField(logon.szMachineID, szMachineID);
        return SendRecord(HALL_MAIN_USER, HALL_SUB_USER_LOGON_BY_ACCOUNT, logon, hWnd, &dwSerialNum);
    }
    tagLogonByUserId logon;
    logon.dwUserID = input.dwUserID;
    CopyTextField(logon.szPassword, input.szPassword);
    logon.dwReserved = 0;
    CopyTextField(logon.szMachineID, szMachineID);
    return SendRecord(HALL_MAIN_USER, HALL_SUB_USER_LOGON_BY_USER_ID, logon, hWnd, &dwSerialNum);
}

bool CClientDataCenter::RequestUserInfo(DWORD& dwSerialNum, HWND hWnd)
{
    tagUserInfoRequest request;
    request.dwUserID = g_GlobalUnits.GetGlobalUserData()->dwUserID;
    for (WORD wID : kUserInfoAttributes)
        request.AttributeIDs.Add(wID);
    return SendRecord(HALL_MAIN_USER, HALL_SUB_USER_INFO, request, hWnd, &dwSerialNum);
}

bool CClientDataCenter::RequestGameList()
{
    for (WORD wSubCmdID = HALL_SUB_GAME_LIST_FIRST; wSubCmdID <= HALL_SUB_GAME_LIST_LAST; ++wSubCmdID)
        SendHead(HALL_MAIN_GAME_LIST, wSubCmdID);
    return SubscribeOnlineCounts();
}

// ---- IClientSocketSink ----------------------------------------------------------------

bool CClientDataCenter::OnSocketConnect(int nErrorCode, LPCSTR pszErrorDesc)
{
    if (nErrorCode != 0)
        return ConnectNextServer();
    g_GlobalOption.SetConnectState(2);
    g_GlobalOption.SetLastServer(g_GlobalOption.GetLastServer());
    NotifyConnectResult(0, TextOrEmpty(pszErrorDesc));
    return true;
}

bool CClientDataCenter::OnSocketRead(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, void* pData, WORD wDataSize,
                                     IClientSocket* pISocket)
{
    // No error of a malformed body may leave the message handling.
    try {
        switch (wMainCmdID) {
        case HALL_MAIN_USER: return OnUserMessage(dwSerialNum, wSubCmdID, pData, wDataSize);
        case HALL_MAIN_GAME_LIST: return OnGameListMessage(wSubCmdID, pData, wDataSize);
        case HALL_MAIN_ONLINE_COUNT: return OnOnlineCountMessage(wSubCmdID, pData, wDataSize);
        case HALL_MAIN_MESSAGE: return OnSystemMessage(wSubCmdID, pData, wDataSize);
        case HALL_MAIN_VALUE_PAIR: return OnValuePairMessage(wSubCmdID, pData, wDataSize);
        case HALL_MAIN_USER_VALUE: return OnUserValueMessage(wSubCmdID, pData, wDataSize);
        case HALL_MAIN_RECORD_STORE: return OnRecordStoreMessage(wSubCmdID, pData, wDataSize);
        case HALL_MAIN_TEAM: return OnTeamMessage(wSubCmdID, pData, wDataSize);
        default: return true;
        }
    } catch (CException* e) {
        e->Delete();
        return true;
    }
}

bool CClientDataCenter::OnSocketClose()
{
    Notify(HN_CONNECTION_CLOSED, 0);
    return true;
}

// ---- displayed trees --------------------------------------------------------------------

namespace
{

// Where a node stands among its siblings.
INT_PTR ChildIndex(const CGameTreeNode* pNode)
{
    const CGameTreeNode* pParent = pNode->GetParent();
    for (INT_PTR i = 0; i < pParent->GetChildCount(); ++i) {
        if (pParent->GetChild(i) == pNode)
            return i;
    }
    return -1;
}

// True when a comes before b in a depth-first walk from their common root.
bool ComesFirst(const CGameTreeNode* a, const CGameTreeNode* b)
{
    std::vector<const CGameTreeNode*> pathA, pathB;
    for (const CGameTreeNode* p = a; p != NULL; p = p->GetParent())
        pathA.push_back(p);
    for (const CGameTreeNode* p = b; p != NULL; p = p->GetParent())
        pathB.push_back(p);
    // From the root down to where the paths part.
    size_t nA = pathA.size(), nB = pathB.size();
    while (nA > 0 && nB > 0 && pathA[nA - 1] == pathB[nB - 1]) {
        --nA;
        --nB;
    }
    if (nA == 0)
        return true; // a is b or above it
    if (nB == 0)
        return false;
    return ChildIndex(pathA[nA - 1]) < ChildIndex(pathB[nB - 1]);
}

// The nodes of a tree by id. A lookup answers what the root's FindNode
// would: of several nodes with one id, the first in a depth-first walk.
// The first node of each id goes into first, the caller's block, which is
// emptied here and kept between builds.
class CNodeIndex
{
public:
    CNodeIndex(CIdIndex<CGameTreeNode>& first, CGameTreeNode* pRoot, size_t nExpected) : m_First(first)
    {
        m_First.RemoveAll();
        m_First.Reserve(nExpected + 1);
        AddTree(pRoot);
    }
    ~CNodeIndex() { m_First.RemoveAll(); }

    // False when the id is new to the index.
    bool Add(CGameTreeNode* pNode)
    {
        if (m_First.Add(pNode->GetNodeId(), pNode))
            return false;
        m_Others[pNode->GetNodeId()].push_back(pNode);
        return true;
    }

    CGameTreeNode* Find(DWORD dwNodeID) const
    {
        CGameTreeNode* pFirst = m_First.Find(dwNodeID);
        if (pFirst == NULL)
            return NULL;
        auto others = m_Others.empty() ? m_Others.end() : m_Others.find(dwNodeID);
        if (others != m_Others.end()) {
            for (CGameTreeNode* pOther : others->second) {
                if (ComesFirst(pOther, pFirst))
                    pFirst = pOther;
            }
        }
        return pFirst;
    }

private:
    void AddTree(CGameTreeNode* pNode)
    {
        Add(pNode);
        for (INT_PTR i = 0; i < pNode->GetChildCount(); ++i)
            AddTree(pNode->GetChild(i));
    }

    // The first node added for each id, and the later ones of ids that repeat
    // (rare: most ids have one node, and need no list of their own).
    CIdIndex<CGameTreeNode>& m_First;
    std::unordered_map<DWORD, std::vector<CGameTreeNode*>> m_Others;
};

// The node of a link under its parent, when the tree manager knows the item
// it names; null otherwise. bNewId tells whether it is the first node of its id.
CGameTreeNode* PlaceLink(CGameTreeManager& manager, const tagTreeLinkItem& link, CGameTreeNode* pParent,
                         CNodeIndex& nodes, bool& bNewId)
{
    bNewId = false;
    bool bKnown = false;
    CGameRoom* pRoom = NULL;
    switch (link.cbKind) {
    case TREE_ITEM_CATEGORY: bKnown = manager.HasGameCategory(link.dwItemID); break;
    case TREE_ITEM_GAME: bKnown = manager.HasGame(link.dwItemID); break;
    case TREE_ITEM_STATION: bKnown = manager.HasGameStation(link.dwItemID); break;
    case TREE_ITEM_ROOM:
        pRoom = manager.FindGameRoom(link.dwItemID);
        bKnown = pRoom != NULL;
        break;
    case TREE_ITEM_GAME_WEB: bKnown = manager.HasGameWeb(link.dwItemID); break;
    case TREE_ITEM_WEB_GAME: bKnown = manager.HasWebGame(link.dwItemID); break;
    case TREE_ITEM_WEB_GAME_SERVER: bKnown = manager.HasWebGameServer(link.dwItemID); break;
    }
    if (!bKnown)
        return NULL;
    CGameTreeNode* pNode = new CGameTreeNode(link.dwNodeID);
    pNode->SetItemType(link.cbKind);
    pNode->SetText(link.szCaption);
    pNode->SetItemData(link.dwItemID);
    pNode->SetSortOrder(link.lSortOrder);
    pNode->SetFlags(link.dwFlags);
    pParent->InsertChild(pNode);
    if (pRoom != NULL)
        pRoom->AddNode(pNode);
    bNewId = !nodes.Add(pNode);
    return pNode;
}

} // namespace

// Each round places the first link, in list order, whose parent is in the
// tree. The links wait by parent id until a node with that id arrives, and
// the ready ones are taken lowest place first, so the rounds come out as a
// search of the whole tree for every link would make them.
void CClientDataCenter::BuildTree(CTreeLinkArray& links, CGameTreeNode* pRoot)
{
    CNodeIndex nodes(m_NodeIndex, pRoot, size_t(links.GetSize()));
    // A list that names each parent before its children (as servers send
    // it) is placed in one pass in list order, which is the order the
    // rounds take. The first link whose parent is not there yet hands the
    // rest to the rounds below.
    INT_PTR nInOrder = 0;
    while (nInOrder < links.GetSize()) {
        CGameTreeNode* pParent = nodes.Find(links[nInOrder].dwParentID);
        if (pParent == NULL)
            break;
        bool bNewId = false;
        PlaceLink(m_GameTreeManager, links[nInOrder], pParent, nodes, bNewId);
        ++nInOrder;
    }
    if (nInOrder == links.GetSize()) {
        links.RemoveAll();
        return;
    }

    std::unordered_map<DWORD, std::vector<INT_PTR>> waiting; // by parent id, in list order
    std::priority_queue<INT_PTR, std::vector<INT_PTR>, std::greater<INT_PTR>> ready;
    for (INT_PTR i = nInOrder; i < links.GetSize(); ++i) {
        if (nodes.Find(links[i].dwParentID) != NULL)
            ready.push(i);
        else
            waiting[links[i].dwParentID].push_back(i);
    }

    std::vector<bool> taken(size_t(links.GetSize()), false);
    for (INT_PTR i = 0; i < nInOrder; ++i)
        taken[size_t(i)] = true;
    while (!ready.empty()) {
        INT_PTR nTaken = ready.top();
        ready.pop();
        taken[size_t(nTaken)] = true;
        const tagTreeLinkItem& link = links[nTaken];
        bool bNewId = false;
        CGameTreeNode* pNode = PlaceLink(m_GameTreeManager, link, nodes.Find(link.dwParentID), nodes, bNewId);
        // The first node of an id lets the links below it in.
        if (pNode != NULL && bNewId) {
            auto it = waiting.find(link.dwNodeID);
            if (it != waiting.end()) {
                for (INT_PTR i : it->second)
                    ready.push(i);
                waiting.erase(it);
            }
        }
    }

    // Links that found no parent stay, in their order.
    INT_PTR nKept = 0;
    for (INT_PTR i = 0; i < links.GetSize(); ++i) {
        if (!taken[size_t(i)])
            links[nKept++] = links[i];
    }
    links.SetSize(nKept);
}

void CClientDataCenter::DeleteTrees()
{
    m_ServerTreeLinks.RemoveAll();
    m_SecondTreeLinks.RemoveAll();
    m_WebGameTreeLinks.RemoveAll();
    delete m_pServerTreeRoot;
    m_pServerTreeRoot = NULL;
    delete m_pSecondTreeRoot;
    m_pSecondTreeRoot = NULL;
    delete m_pWebGameTreeRoot;
    m_pWebGameTreeRoot = NULL;
}

bool CClientDataCenter::LoadWebGameList(LPCSTR pszIniPath)
{
    CIniFile ini(pszIniPath, CIniFile::kDefaultBufferSize);
    CString strIconPath;
    ini.GetString("WEBGAMEICON", "PATH", strIconPath, "");
    if (!strIconPath.IsEmpty())
        m_GameTreeManager.SetWebGameIconPath(strIconPath);

    CMapStringToString values;
    CStringArray parts;
    CString strKey, strValue;

    ini.GetSection("WEBGAME", values);
    for (POSITION pos = values.GetStartPosition(); pos != NULL;) {
        values.GetNextAssoc(pos, strKey, strValue);
        if (SplitString(strValue, ',', parts) != 4)
            continue;
        DWORD dwID = strtoul(parts[0], NULL, 10);
        if (dwID == 0)
            continue;
        CWebGame* pGame = new CWebGame(dwID);
        pGame->SetName(parts[1]);
        pGame->SetIconId(WORD(atoi(parts[2])));
        pGame->SetLink(parts[3]);
        if (!m_GameTreeManager.AddWebGame(pGame))
            delete pGame;
    }

    ini.GetSection("WEBGAMESERVER", values);
    for (POSITION pos = values.GetStartPosition(); pos != NULL;) {
        values.GetNextAssoc(pos, strKey, strValue);
        if (SplitString(strValue, ',', parts) != 3)
            continue;
        DWORD dwID = strtoul(parts[0], NULL, 10);
        if (dwID == 0)
            continue;
        CWebGameServer* pServer = new CWebGameServer(dwID);
        pServer->SetName(parts[1]);
        pServer->SetLink(parts[2]);
        if (!m_GameTreeManager.AddWebGameServer(pServer))
            delete pServer;
    }

    m_WebGameTreeLinks.RemoveAll();
    ini.GetSection("WEBGAMENODE", values);
    for (POSITION pos = values.GetStartPosition(); pos != NULL;) {
        values.GetNextAssoc(pos, strKey, strValue);
        if (SplitString(strValue, ',', parts) != 5)
            continue;
        tagTreeLinkItem link;
        memset(&link, 0, sizeof(link));
        link.dwNodeID = strtoul(parts[0], NULL, 10);
        if (link.dwNodeID == 0)
            continue;
        CopyTextField(link.szCaption, parts[1]);
        link.dwParentID = strtoul(parts[2], NULL, 10);
        link.cbKind = BYTE(atoi(parts[3]));
        link.dwItemID = strtoul(parts[4], NULL, 10);
        // By node id; the section's own order is not kept by the map.
        INT_PTR nAt = m_WebGameTreeLinks.GetSize();
        while (nAt > 0 && m_WebGameTreeLinks[nAt - 1].dwNodeID > link.dwNodeID)
            --nAt;
        m_WebGameTreeLinks.InsertAt(nAt, link);
    }
    delete m_pWebGameTreeRoot;
    m_pWebGameTreeRoot = new CGameTreeNode(0);
    BuildTree(m_WebGameTreeLinks, m_pWebGameTreeRoot);
    return true;
}
