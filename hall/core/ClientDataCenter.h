// The hall's one connection to the hall server. It owns the socket module's
// client, tries the options store's logon servers in turn, sends every hall
// request, keeps what the server sends (game tree, own user attributes, the
// record store, teams) and reports each event to the registered windows as a
// WM_HALL_NOTIFY notification (IClientDataCenter.h lists them). It also owns
// the block shared with the user-service program and that program's process.
//
// Everything runs on the user-interface thread: the socket module calls the
// sink from its message loop, and notifications are sent synchronously.
#pragma once

#include <afxtempl.h>
#include <afxwin.h>

#include <functional>

#include "GameTreeManager.h"
#include "GameTreeNode.h"
#include "IClientDataCenter.h"
#include "IClientSocket.h"
#include "IdIndex.h"
#include "Message.h"
#include "RecordStore.h"
#include "ServiceShareData.h"
#include "TeamManager.h"

class CClientDataCenter : public CMessage, public IClientSocketSink, public IClientDataCenter
{
public:
    typedef CArray<tagTreeLinkItem, const tagTreeLinkItem&> CTreeLinkArray;
    typedef CMap<DWORD, DWORD, CTeamManager*, CTeamManager*> CTeamMap;

    CClientDataCenter();
    virtual ~CClientDataCenter();

    // 1001/1: two texts of at most 31 characters.
    virtual bool SendTwoTexts(LPCSTR pszFirst, LPCSTR pszSecond);
    // 1002/9 with the machine identifier; hWnd hears the answer (1,3).
    virtual bool SendMachineLogon(DWORD& dwSerialNum, HWND hWnd);
    // 1002/10, for a guest only; the password as typed (sent as its digest).
    virtual bool SendRegister(LPCSTR pszAccounts, LPCSTR pszPassword, LPCSTR pszText3, BYTE cbValue, LPCSTR pszText5,
                              LPCSTR pszText6);
    virtual bool CheckAccountName(LPCSTR pszAccounts);
    virtual bool CheckEmailAddress(LPCSTR pszEmail);
    // 1004/1: asks for online counts.
    virtual bool SubscribeOnlineCounts();
    // 1005/1.
    virtual bool SendNoticeRequest();
    // 1002/8; then closes the socket when asked.
    virtual bool SendLogoff(bool bClose);
    // 1007/1; not for a guest.
    virtual bool BuyItem(DWORD dwItemID, WORD wCount);
    virtual CRecordStore* GetRecordStore();
    // 1008/1 to 4.
    virtual bool RequestStoreRecord1(DWORD dwID);
    virtual bool RequestStoreRecord2(DWORD dwID);
    virtual bool RequestStoreRecord3(DWORD dwID, BYTE cbValue);
    virtual bool RequestStoreRecord4(DWORD dwID);
    virtual bool CloseSocket();
    // Forgets the session: game tree, links and trees, record entries, the
    // user-service program; closes the socket unless asked to keep it.
    virtual bool ResetLogonState(bool bKeepConnection);
    // Brings the user-service program forward, or starts it on that page.
    virtual bool OpenServicePage(DWORD dwPageGroup, DWORD dwPageIndex);
    // 1002/5 (bind to this machine) or 1002/6 (release); not for a guest.
    virtual bool BindMachine(bool bLock);
    // 1002/7: attribute 15, at most 127 characters.
    virtual bool SendSignature(LPCSTR pszSignature);
    virtual bool IsConnected();
    virtual bool RequestPersonalInfo(DWORD dwValue);
    virtual bool SendPersonalInfo(DWORD dwValue1, LPCSTR pszText1, LPCSTR pszText2, LPCSTR pszText3, DWORD dwValue2,
                                  LPCSTR pszText4);
    // The user-service program's face notice (WM_COPYDATA to the main
    // window): true when it was that notice; the own face is then reloaded.
    virtual bool OnServiceCopyData(HWND hSender, const COPYDATASTRUCT* pCopyData);
    // (8,1) at once for a known team, else 1010/1.
    virtual bool GetTeamInfo(DWORD dwTeamID);

    // IUnknownEx, for both interfaces: the application object owns the
    // object, so references are not counted.
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT QueryInterface(REFGUID iid, void** out) override;

    // IClientDataCenter
    DWORD GetSocketErrorCode() override;
    DWORD SetConnectTimeout(DWORD dwTimeout) override;
    bool ConnectServer() override;
    bool SendLogon(DWORD& dwSerialNum, HWND hWnd, const tagLogonInput& input) override;
    bool IsValid() override { return true; }
    bool RequestUserInfo(DWORD& dwSerialNum, HWND hWnd) override;
    bool RequestGameList() override;

    // IClientSocketSink
    bool OnSocketConnect(int nErrorCode, LPCSTR pszErrorDesc) override;
    bool OnSocketRead(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, void* pData, WORD wDataSize,
                      IClientSocket* pISocket) override;
    bool OnSocketClose() override;
    bool OnSocketReserved1() override { return true; }
    bool OnSocketReserved2() override { return true; }
    bool OnSocketReserved3() override { return true; }

    // The web games of the local list ("LocalGame.ini") and their tree.
    bool LoadWebGameList(LPCSTR pszIniPath);
    bool LookupTeam(DWORD dwTeamID, CTeamManager*& pTeam);
    CGameTreeManager* GetGameTreeManager() { return &m_GameTreeManager; }
    // Roots of the displayed trees; null until built.
    CGameTreeNode* GetServerTreeRoot() const { return m_pServerTreeRoot; }
    CGameTreeNode* GetSecondTreeRoot() const { return m_pSecondTreeRoot; }
    CGameTreeNode* GetWebGameTreeRoot() const { return m_pWebGameTreeRoot; }
    const char* GetShareName() const { return m_szShareName; }
    const tagServiceShareData* GetShareData() const { return m_pShareData; }

    // Where the notice texts of 1005/1002 go: the application's pop-up
    // notice, which sets this when it has its window.
    void SetPopupHandler(std::function<void(LPCSTR)> handler) { m_PopupHandler = handler; }

    // The user-service program started by OpenServicePage; tests start a
    // stand-in.
    static void SetServiceProgram(LPCSTR pszProgram);

    // Names the shared block on each try (0, 1, ...); tests hand out names
    // someone else holds. Returns the previous maker; NULL restores the own.
    typedef CString (*PFN_SHARE_NAME)(int nTry);
    static PFN_SHARE_NAME SetShareNameMaker(PFN_SHARE_NAME pfn);

private:
    CClientDataCenter(const CClientDataCenter&) = delete;
    CClientDataCenter& operator=(const CClientDataCenter&) = delete;

    IClientSocket* GetSocket() const { return m_ClientSocket.GetInterface(); }
    bool ConnectNextServer();
    void NotifyConnectResult(LONG lErrorCode, LPCSTR pszErrorText);

    // Sends a body or a bare head with a new serial, answered to hWnd when
    // given; dwSerialNum receives the serial before the send.
    template <class T>
    bool SendRecord(WORD wMainCmdID, WORD wSubCmdID, const T& record, HWND hWnd = NULL, DWORD* pSerialNum = NULL);
    bool SendBody(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const CSafeMemFile& body);
    bool SendHead(WORD wMainCmdID, WORD wSubCmdID);
    bool IsGuest() const;

    // Server messages, by main command.
    bool OnUserMessage(DWORD dwSerialNum, WORD wSubCmdID, const void* pData, WORD wDataSize);
    bool OnGameListMessage(WORD wSubCmdID, const void* pData, WORD wDataSize);
    bool OnOnlineCountMessage(WORD wSubCmdID, const void* pData, WORD wDataSize);
    bool OnSystemMessage(WORD wSubCmdID, const void* pData, WORD wDataSize);
    bool OnValuePairMessage(WORD wSubCmdID, const void* pData, WORD wDataSize);
    bool OnUserValueMessage(WORD wSubCmdID, const void* pData, WORD wDataSize);
    bool OnRecordStoreMessage(WORD wSubCmdID, const void* pData, WORD wDataSize);
    bool OnTeamMessage(WORD wSubCmdID, const void* pData, WORD wDataSize);
    void OnLogonResult(DWORD dwSerialNum, const void* pData, WORD wDataSize);
    void OnUserInfoResult(DWORD dwSerialNum, const void* pData, WORD wDataSize);
    void OnTreeLinks(WORD wSubCmdID, const void* pData, WORD wDataSize);
    void NotifySerial(DWORD dwSerialNum, const tagNotifyKey& key, LPARAM lParam);
    // Stores one own user attribute; false when the id changes nothing.
    bool StoreUserAttribute(const tagUserAttribute& attribute, bool bTyped);

    // Places the links whose parents are in the tree under the root; links
    // that find no parent stay in the list.
    void BuildTree(CTreeLinkArray& links, CGameTreeNode* pRoot);
    void DeleteTrees();
    void DeleteTeams();

    // The shared block and the user-service program.
    void CreateShareBlock();
    void CloseShareBlock();
    void TerminateService();
    void WriteSharePassword(LPCSTR pszPassword);

    CClientSocketHelper m_ClientSocket;
    HANDLE m_hShareMemory;
    char m_szShareName[64];
    tagServiceShareData* m_pShareData;
    PROCESS_INFORMATION m_ServiceProcess;
    CGameTreeManager m_GameTreeManager;
    CTreeLinkArray m_ServerTreeLinks;
    CGameTreeNode* m_pServerTreeRoot;
    CTreeLinkArray m_SecondTreeLinks;
    CGameTreeNode* m_pSecondTreeRoot;
    CTreeLinkArray m_WebGameTreeLinks;
    CGameTreeNode* m_pWebGameTreeRoot;
    // The nodes by id while a tree is built: one block for every build, as
    // a game list's tree takes a large one.
    CIdIndex<CGameTreeNode> m_NodeIndex;
    CRecordStore m_RecordStore;
    CTeamMap m_TeamMap;
    // Connect attempts in the current round; a round never outlasts the list.
    int m_nConnectAttempts;
    std::function<void(LPCSTR)> m_PopupHandler;

    static CString s_strServiceProgram;
};
