// The hall's one options store, g_GlobalOption: the user's preferences as
// profile values (section "GlobalOption"), the sit limits of each game and
// the options of each room, the recent and own games of the logged-on user,
// the logon servers with the proxy, the server cursor and the fast-server
// probe, and what the windows need of the configuration files (addresses,
// experience levels, banners, the competition entry, version records).
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <afxmt.h>
#include <afxtempl.h>

#include <istream>

#include "AccountsStore.h"
#include "FastServerProbe.h"
#include "GameOption.h"
#include "LogonServer.h"
#include "RoomOption.h"
#include "update/BulletinItem.h"

class CGame;
class CGameRoom;
class CIniSection;
struct IAccountsStore;
struct tagCompanionItem;

// A recently entered room of a game.
struct tagLastGameInfo
{
    WORD wGameID;
    WORD wServerID;
};

// The logon or close banner.
struct tagBannerConfig
{
    LONGLONG tmBegin;
    LONGLONG tmEnd;
    char szFileName[128];
    char szUrl[128];
    DWORD dwVersion;
};

struct tagCompetitionConfig
{
    DWORD dwVersion;
    char szFileName[128];
};

// What a game's own "config.ini" says of its program.
struct tagGameExeInfo
{
    char szExeName[32];
    DWORD dwVersion;
};

// One section of "update.ini": the hall (id 1) or a game.
struct tagGameVersionInfo
{
    DWORD dwID;
    DWORD dwVersion;
    DWORD dwUpdateVersion; // the version from which the update addresses apply
    char szDownloadUrls[10][260];
    char szUpdateUrls[10][260];
    WORD wType;
    char szName[260];
};

class CGlobalOption
{
public:
    typedef char UrlList[10][260];

    static constexpr int kRecentGames = 5;
    static constexpr int kUpdateUrls = 6;
    static constexpr int kHallButtons = 6;
    static constexpr int kOtherActions = 7;
    static constexpr int kPrepaidUrls = 6;
    static constexpr int kMaxExperienceLevels = 1000;
    static constexpr int kMaxLogonServers = 1024;

    CGlobalOption();
    virtual ~CGlobalOption();

    // The load at start-up and the save at each close of the frame and each
    // new logon.
    void LoadOptions();
    void SaveOptions();

    // "<program folder>\config", from the running program unless set.
    CString GetConfigDirectory();
    void SetConfigDirectory(LPCSTR folder);

    // The saved-accounts store that the load and the save include: the
    // store's own unless another is set (null: the own one).
    void SetAccountsStore(IAccountsStore* store) { m_pAccountsStore = store != NULL ? store : m_pAccounts; }
    // A store of saved accounts that the application made: the load, the
    // save and every account accessor below use it (null: the own one).
    void SetAccountsStore(CAccountsStore* store)
    {
        m_pAccounts = store != NULL ? store : &m_AccountsStore;
        m_pAccountsStore = m_pAccounts;
    }
    IAccountsStore* GetAccountsStore() const { return m_pAccountsStore; }

    // The saved accounts (see CAccountsStore).
    CAccountsStore& GetAccounts() { return *m_pAccounts; }
    void LoadAccounts();
    void SaveAccounts();
    bool AddAccount(const tagAccount& account) { return m_pAccounts->AddAccount(account); }
    void DeleteAccount(LPCSTR account) { m_pAccounts->DeleteAccount(account); }
    int FindAccount(LPCSTR account) const { return m_pAccounts->FindAccount(account); }
    LPCSTR GetPasswordByUserId(CString& password, DWORD userId) const
    {
        return m_pAccounts->GetPasswordByUserId(password, userId);
    }
    LPCSTR GetPasswordByAccount(CString& password, LPCSTR account) const
    {
        return m_pAccounts->GetPasswordByAccount(password, account);
    }
    void SetLastUser(LPCSTR account) { m_pAccounts->SetLastUser(account); }
    CString GetLastUser() const { return m_pAccounts->GetLastUser(); }
    DWORD GetLastUserId() const { return m_pAccounts->GetLastUserId(); }
    int GetAccountCount() const { return m_pAccounts->GetAccountCount(); }
    tagAccount* GetAccount(int index) { return m_pAccounts->GetAccount(index); }
    CString GetAccountName(int index) const { return m_pAccounts->GetAccountName(index); }
    DWORD GetAccountUserId(int index) const { return m_pAccounts->GetAccountUserId(index); }
    void SetAccount(int index, const tagAccount& account) { m_pAccounts->SetAccount(index, account); }

    // Options of a game and of a room by the id the item gives; made (and a
    // game's loaded from the profile) when first asked for. Null for a null item.
    CGameOption* GetGameOption(CGame* game);
    CRoomOption* GetRoomOption(CGameRoom* room);

    // Recent games: at most the newest five, oldest first.
    bool AddLastGame(WORD gameId, WORD serverId);
    WORD FindLastGame(WORD gameId) const;
    int FindLastGameIndex(WORD gameId) const;
    INT_PTR GetLastGameCount() const { return m_LastGames.GetSize(); }
    tagLastGameInfo GetLastGame(INT_PTR index) const { return m_LastGames.GetAt(index); }
    // The logged-on user's own game list.
    int FindSelfGameIndex(WORD gameId) const;
    INT_PTR GetSelfGameCount() const { return m_SelfGames.GetSize(); }
    WORD GetSelfGame(INT_PTR index) const { return (WORD)m_SelfGames.GetAt(index); }
    void AddSelfGame(WORD gameId);
    void RemoveSelfGameAt(INT_PTR index);
    // Both lists in the logged-on user's "Config.ini"; nothing without a user.
    void LoadLastGames();
    void SaveLastGames();
    void LoadSelfGames();
    void SaveSelfGames();
    void ClearGameLists();
    CString GetUserConfigFile(bool create);

    // Companions, from the companion module of the global units.
    bool IsFriendUser(DWORD userId);
    bool IsDetestUser(DWORD userId);
    const tagCompanionItem* GetCompanionItem(DWORD userId);
    bool CallCompanionUpdate(const tagCompanionItem* item);

    // Registers the animated-picture component when its class is not registered.
    void RegisterPictureComponent();

    // Written by the hall data centre: 1 connecting, 2 connected, 3 logged on.
    void SetConnectState(DWORD state) { m_dwConnectState = state; }
    DWORD GetConnectState() const { return m_dwConnectState; }

    // ---- logon servers, proxy, cursor and fast-server probe
    void LoadServerList();
    int FindServerByName(LPCSTR name) const;
    void SetLastServer(int index);
    void SaveLastServer();
    int GetLastServer() const { return m_nLastServer; }
    // The next server to try, each server once per round; null when the
    // round is over (or no server was chosen).
    tagLogonServer* GetNextServer();
    void SetServerReuse(bool reuse) { m_bServerReuse = reuse; }
    INT_PTR GetServerCount() const { return m_LogonServers.GetSize(); }
    tagLogonServer* GetServer(INT_PTR index);
    bool ShouldFindFastServer();
    LONG StartFastServerProbe();
    LONG GetFastServerResult() const { return m_FastServerProbe.GetResult(); }
    CFastServerProbe& GetFastServerProbe() { return m_FastServerProbe; }
    void RecordFastServer();
    void LoadProxyInfo();
    void SaveProxyInfo();
    void SetProxyInfo(const tagProxyInfo& proxy) { m_ProxyInfo = proxy; }
    void GetProxyInfo(tagProxyInfo& proxy) const { proxy = m_ProxyInfo; }

    // ---- configuration files
    void LoadUrls();
    bool LoadExperience(LPCSTR path);
    const CDWordArray& GetExperienceLevels() const { return m_ExperienceLevels; }
    void LoadBannerConfig();
    const tagBannerConfig& GetLogonBanner() const { return m_LogonBanner; }
    const tagBannerConfig& GetCloseBanner() const { return m_CloseBanner; }
    void ReadCompetitionConfig();
    const tagCompetitionConfig& GetCompetitionConfig() const { return m_CompetitionConfig; }
    // Builds the version records from an "update.ini" text (a record read
    // now replaces an older one of the same id) and writes the file. Safe on
    // a worker thread; records handed out stay valid for the store's life.
    void ReadHallDownloadInfo(std::istream& stream);
    const tagGameVersionInfo* FindGameVersionInfo(DWORD id);
    // The addresses to fetch a game from: the update addresses when the
    // installed version is the record's update version, then the download
    // addresses, ended by an empty entry (at most ten entries).
    static void GetGameUpdateUrls(DWORD installedVersion, UrlList& urls, const tagGameVersionInfo* info);
    void ReadGameUpdateInfo(DWORD installedVersion, WORD gameId, UrlList& urls);
    DWORD ReadGameUpdateVersion(WORD gameId);
    bool ReadGameHundredFlag(CGame* game);
    const tagGameExeInfo* ReadGameExeVersion(CGame* game);
    bool IsPassLockTableAllowed(DWORD roomId);
    DWORD ReadListVersions(WORD kind);
    // Versions read base 16 when the text holds an "x", else base 10.
    static DWORD ParseVersion(LPCSTR text);

    CString GetHallWebUrl() const { return m_strHallWeb; }
    CString GetAdUrl() const { return m_strAdUrl; }
    CString GetLoginUrl() const { return m_strLoginUrl; }
    CString GetCloseUrl() const { return m_strCloseUrl; }
    CString GetGameHelpUrl() const { return m_strGameHelpUrl; }
    CString GetHallButtonAction(int index) const;
    CString GetOtherAction(int index) const;
    CString GetRegisterUrl() const { return m_strRegisterUrl; }
    CString GetRegisterHelpUrl() const { return m_strRegisterHelpUrl; }
    CString GetFindPasswordUrl() const { return m_strFindPasswordUrl; }
    CString GetUpdateUrl(int index) const;
    CString GetBulletinUrl() const { return m_strBulletinUrl; }
    CString GetQuillonUrl() const { return m_strQuillonUrl; }
    CString GetDynaCfgUrl() const { return m_strDynaCfgUrl; }
    CString GetDownloadUrl() const { return m_strDownloadUrl; }
    CString GetPrepaidPageUrl() const { return m_strPrepaidPage; }
    INT_PTR GetPrepaidUrlCount() const { return m_PrepaidUrls.GetSize(); }
    CString GetPrepaidUrl(int index) const;
    CString GetSelfDownloadUrl() const { return m_strSelfDownloadUrl; }
    CString GetPlazaCycleUrl() const { return m_strPlazaCycleUrl; }
    CString GetLogonCycleUrl() const { return m_strLogonCycleUrl; }
    CString GetVipUrl() const { return m_strVipUrl; }

    // The bulletin lines of the configuration update.
    CArray<tagBulletinItem, const tagBulletinItem&>& GetBulletinItems() { return m_BulletinItems; }

    // ---- profile values ("GlobalOption")
    bool m_bExpandedList;
    WORD m_wBossHotKey;
    bool m_bLimitDetest;
    // Players of the own IP are refused at the table; kept for the run only.
    bool m_bLimitSameIP = false;
    bool m_bAutoHideServerList;
    bool m_bSaveWisper;
    bool m_bShowInOutMessage;
    bool m_bOnlyFriendMessage;
    bool m_bHideDetestMessage;
    bool m_bAutoSit;
    int m_nInviteMode;
    COLORREF m_crChatTX;
    COLORREF m_crMsgName;
    COLORREF m_crMsgNormal;
    COLORREF m_crMsgSysHead;
    COLORREF m_crMsgSysString;
    COLORREF m_crServerListTX;
    COLORREF m_crServerListBK;

protected:
    // The animated-picture component's class and the registration program;
    // tests replace them.
    virtual HRESULT CreatePictureComponent();
    virtual bool RunHidden(LPCSTR commandLine);

private:
    CGlobalOption(const CGlobalOption&) = delete;
    CGlobalOption& operator=(const CGlobalOption&) = delete;

    void LoadProfile();
    void SaveProfile();
    CString ConfigFile(LPCSTR name);
    CString DynamicConfigFile();
    CString GameConfigFile(CGame* game);
    void LoadBanner(tagBannerConfig& banner, LPCSTR folder, LPCSTR file);
    void StartServerRound(int index);
    static void ReadVersionRecord(tagGameVersionInfo& info, const CIniSection* section);

    CArray<CGameOption*, CGameOption*> m_GameOptions;
    CArray<CRoomOption*, CRoomOption*> m_RoomOptions;
    CDWordArray m_ExperienceLevels;

    tagProxyInfo m_ProxyInfo;
    CArray<tagLogonServer, const tagLogonServer&> m_LogonServers;
    int m_nLastServer;         // the server handed out last; -1 none
    int m_nNextServer;         // the cursor; -1 when no server is left
    bool m_bServerReuse;       // the next call takes the cursor as it stands
    bool m_bWinnerApplied;     // the probe's winner was taken this round
    CByteArray m_ServersTried; // per server: handed out this round
    CFastServerProbe m_FastServerProbe;

    CAccountsStore m_AccountsStore;
    CAccountsStore* m_pAccounts;
    IAccountsStore* m_pAccountsStore;
    DWORD m_dwConnectState;
    CArray<tagLastGameInfo, const tagLastGameInfo&> m_LastGames;
    CArray<int, int> m_SelfGames;

    CString m_strConfigDirectory;

    CString m_strHallWeb;
    CString m_strAdUrl;
    CString m_strLoginUrl;
    CString m_strCloseUrl;
    CString m_strGameHelpUrl;
    CString m_strHallButtons[kHallButtons];
    CString m_strOtherActions[kOtherActions];
    CString m_strRegisterUrl;
    CString m_strRegisterHelpUrl;
    CString m_strFindPasswordUrl;
    CString m_strUpdateUrls[kUpdateUrls];
    CString m_strBulletinUrl;
    CString m_strQuillonUrl;
    CString m_strDynaCfgUrl;
    CString m_strDownloadUrl;
    CString m_strPrepaidPage;
    CStringArray m_PrepaidUrls;
    CString m_strSelfDownloadUrl;
    CString m_strPlazaCycleUrl;
    CString m_strLogonCycleUrl;
    CString m_strVipUrl;

    tagBannerConfig m_LogonBanner;
    tagBannerConfig m_CloseBanner;
    tagCompetitionConfig m_CompetitionConfig;
    tagGameExeInfo m_GameExeInfo;
    CCriticalSection m_VersionLock;
    CArray<tagGameVersionInfo*, tagGameVersionInfo*> m_VersionInfos;
    CArray<tagGameVersionInfo*, tagGameVersionInfo*> m_RetiredVersionInfos;
    CArray<tagBulletinItem, const tagBulletinItem&> m_BulletinItems;
};

extern CGlobalOption g_GlobalOption;
