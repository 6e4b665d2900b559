#include "GlobalOption.h"

#include <afxwin.h>
#include <objbase.h>
#include <new>
#include <string.h>

#include "GameTreeItem.h"
#include "GuidHelper.h"
#include "GameRoom.h"
#include "GlobalUnits.h"
#include "IAccountsStore.h"
#include "IGellbrook.h"
#include "MachineID.h"
#include "ProfileValues.h"

CGlobalOption g_GlobalOption;

namespace
{

const char kSection[] = "GlobalOption";

// The animated-picture component of the rich-edit chat.
const GUID kPictureComponentClass = GuidText::Parse("06ADA938-0FB0-4BC0-B19B-0A38AB17F182");

} // namespace

CGlobalOption::CGlobalOption()
    : m_bExpandedList(true), m_wBossHotKey(635), m_bLimitDetest(true), m_bAutoHideServerList(false),
      m_bSaveWisper(true), m_bShowInOutMessage(true), m_bOnlyFriendMessage(false), m_bHideDetestMessage(true),
      m_bAutoSit(true), m_nInviteMode(1), m_crChatTX(0x000000), m_crMsgName(0xE0E099), m_crMsgNormal(0xE0E099),
      m_crMsgSysHead(0x003DFF), m_crMsgSysString(0x09FF00), m_crServerListTX(0x000000), m_crServerListBK(0xC8C8C8),
      m_nLastServer(-1), m_nNextServer(0), m_bServerReuse(false), m_bWinnerApplied(false),
      m_pAccounts(&m_AccountsStore), m_pAccountsStore(&m_AccountsStore), m_dwConnectState(0)
{
    m_ProxyInfo.cbProxyType = PROXY_NONE;
    m_ProxyInfo.wProxyPort = 0;
    memset(&m_LogonBanner, 0, sizeof(m_LogonBanner));
    memset(&m_CloseBanner, 0, sizeof(m_CloseBanner));
    memset(&m_CompetitionConfig, 0, sizeof(m_CompetitionConfig));
    memset(&m_GameExeInfo, 0, sizeof(m_GameExeInfo));
}

CGlobalOption::~CGlobalOption()
{
    for (INT_PTR i = 0; i < m_GameOptions.GetSize(); ++i)
        delete m_GameOptions[i];
    for (INT_PTR i = 0; i < m_RoomOptions.GetSize(); ++i)
        delete m_RoomOptions[i];
    for (INT_PTR i = 0; i < m_VersionInfos.GetSize(); ++i)
        delete m_VersionInfos[i];
    for (INT_PTR i = 0; i < m_RetiredVersionInfos.GetSize(); ++i)
        delete m_RetiredVersionInfos[i];
}

CString CGlobalOption::GetConfigDirectory()
{
    if (m_strConfigDirectory.IsEmpty()) {
        char path[MAX_PATH] = "";
        DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
        if (n > 0 && n < MAX_PATH) {
            char* slash = strrchr(path, '\\');
            if (slash != NULL)
                *slash = '\0';
        }
        m_strConfigDirectory.Format("%s\\config", path);
    }
    return m_strConfigDirectory;
}

void CGlobalOption::SetConfigDirectory(LPCSTR folder)
{
    m_strConfigDirectory = folder != NULL ? folder : "";
    m_strConfigDirectory.TrimRight('\\');
}

CString CGlobalOption::ConfigFile(LPCSTR name)
{
    return GetConfigDirectory() + "\\" + name;
}

CString CGlobalOption::DynamicConfigFile()
{
    return ConfigFile("dynamic\\DynaItemCfg.ini");
}

void CGlobalOption::LoadProfile()
{
    m_bExpandedList = ReadProfileBool(kSection, "ExpandedList", m_bExpandedList);
    m_wBossHotKey = (WORD)ReadProfileInt(kSection, "BossHotKey", m_wBossHotKey);
    m_bLimitDetest = ReadProfileBool(kSection, "LimitDetest", m_bLimitDetest);
    m_bAutoHideServerList = ReadProfileBool(kSection, "AutoHideServerList", m_bAutoHideServerList);
    m_bSaveWisper = ReadProfileBool(kSection, "SaveWisper", m_bSaveWisper);
    m_bShowInOutMessage = ReadProfileBool(kSection, "ShowInOutMessage", m_bShowInOutMessage);
    m_bOnlyFriendMessage = ReadProfileBool(kSection, "OnlyFriendMessage", m_bOnlyFriendMessage);
    m_bHideDetestMessage = ReadProfileBool(kSection, "HideDetestMessage", m_bHideDetestMessage);
    m_bAutoSit = ReadProfileBool(kSection, "AutoSit", m_bAutoSit);
    m_nInviteMode = ReadProfileInt(kSection, "InviteMode", m_nInviteMode);
    m_crChatTX = (COLORREF)ReadProfileInt(kSection, "ChatTX", (int)m_crChatTX);
    m_crMsgName = (COLORREF)ReadProfileInt(kSection, "MsgName", (int)m_crMsgName);
    m_crMsgNormal = (COLORREF)ReadProfileInt(kSection, "MsgNormal", (int)m_crMsgNormal);
    m_crMsgSysHead = (COLORREF)ReadProfileInt(kSection, "MsgSysHead", (int)m_crMsgSysHead);
    m_crMsgSysString = (COLORREF)ReadProfileInt(kSection, "MsgSysString", (int)m_crMsgSysString);
    m_crServerListTX = (COLORREF)ReadProfileInt(kSection, "ServerListTX", (int)m_crServerListTX);
    m_crServerListBK = (COLORREF)ReadProfileInt(kSection, "ServerListBK", (int)m_crServerListBK);
}

void CGlobalOption::SaveProfile()
{
    WriteProfileBool(kSection, "ExpandedList", m_bExpandedList);
    WriteProfileInt(kSection, "BossHotKey", m_wBossHotKey);
    WriteProfileBool(kSection, "LimitDetest", m_bLimitDetest);
    WriteProfileBool(kSection, "AutoHideServerList", m_bAutoHideServerList);
    WriteProfileBool(kSection, "SaveWisper", m_bSaveWisper);
    WriteProfileBool(kSection, "ShowInOutMessage", m_bShowInOutMessage);
    WriteProfileBool(kSection, "OnlyFriendMessage", m_bOnlyFriendMessage);
    WriteProfileBool(kSection, "HideDetestMessage", m_bHideDetestMessage);
    WriteProfileBool(kSection, "AutoSit", m_bAutoSit);
    WriteProfileInt(kSection, "InviteMode", m_nInviteMode);
    WriteProfileInt(kSection, "ChatTX", (int)m_crChatTX);
    WriteProfileInt(kSection, "MsgName", (int)m_crMsgName);
    WriteProfileInt(kSection, "MsgNormal", (int)m_crMsgNormal);
    WriteProfileInt(kSection, "MsgSysHead", (int)m_crMsgSysHead);
    WriteProfileInt(kSection, "MsgSysString", (int)m_crMsgSysString);
    WriteProfileInt(kSection, "ServerListTX", (int)m_crServerListTX);
    WriteProfileInt(kSection, "ServerListBK", (int)m_crServerListBK);
}

void CGlobalOption::LoadOptions()
{
    LoadProfile();
    for (INT_PTR i = 0; i < m_GameOptions.GetSize(); ++i)
        m_GameOptions[i]->LoadOptions();
    for (INT_PTR i = 0; i < m_RoomOptions.GetSize(); ++i)
        m_RoomOptions[i]->LoadOptions();
    LoadServerList();
    LoadProxyInfo();
    LoadAccounts();
    LoadUrls();
    LoadExperience(ConfigFile("Experience.Ini"));
    LoadBannerConfig();
    ReadCompetitionConfig();
    RegisterPictureComponent();
}

void CGlobalOption::SaveOptions()
{
    SaveProfile();
    for (INT_PTR i = 0; i < m_GameOptions.GetSize(); ++i)
        m_GameOptions[i]->SaveOptions();
    for (INT_PTR i = 0; i < m_RoomOptions.GetSize(); ++i)
        m_RoomOptions[i]->SaveOptions();
    SaveLastServer();
    SaveProxyInfo();
    SaveAccounts();
    SaveLastGames();
    SaveSelfGames();
    ClearGameLists();
}

CGameOption* CGlobalOption::GetGameOption(CGame* game)
{
    if (game == NULL)
        return NULL;
    WORD gameId = (WORD)game->GetId();
    for (INT_PTR i = 0; i < m_GameOptions.GetSize(); ++i) {
        if (m_GameOptions[i]->m_wGameID == gameId)
            return m_GameOptions[i];
    }
    CGameOption* option = new (std::nothrow) CGameOption(gameId, game);
    if (option == NULL)
        return NULL;
    option->LoadOptions();
    m_GameOptions.Add(option);
    return option;
}

CRoomOption* CGlobalOption::GetRoomOption(CGameRoom* room)
{
    if (room == NULL)
        return NULL;
    WORD serverId = (WORD)room->GetId();
    for (INT_PTR i = 0; i < m_RoomOptions.GetSize(); ++i) {
        if (m_RoomOptions[i]->m_wServerID == serverId)
            return m_RoomOptions[i];
    }
    CRoomOption* option = new (std::nothrow) CRoomOption(serverId, room);
    if (option == NULL)
        return NULL;
    option->LoadOptions();
    m_RoomOptions.Add(option);
    return option;
}

// ------------------------------------------------------------------ saved accounts

void CGlobalOption::LoadAccounts()
{
    // The store reads its files from the config folder with a key made on
    // this machine each time it opens them.
    m_pAccounts->SetConfigDirectory(GetConfigDirectory());
    m_pAccounts->SetKeySource(&CMachineID::GetAccountsKey);
    m_pAccountsStore->LoadAccounts();
}

void CGlobalOption::SaveAccounts()
{
    m_pAccounts->SetConfigDirectory(GetConfigDirectory());
    m_pAccounts->SetKeySource(&CMachineID::GetAccountsKey);
    m_pAccountsStore->SaveAccounts();
}

// ------------------------------------------------------------------ companions

const tagCompanionItem* CGlobalOption::GetCompanionItem(DWORD userId)
{
    IGellbrook* companions = g_GlobalUnits.m_GellbrookHelper.GetInterface();
    return companions != NULL ? companions->GetCompanionItem(userId) : NULL;
}

bool CGlobalOption::IsFriendUser(DWORD userId)
{
    const tagCompanionItem* item = GetCompanionItem(userId);
    return item != NULL && item->dwCompanion == COMPANION_FRIEND;
}

bool CGlobalOption::IsDetestUser(DWORD userId)
{
    const tagCompanionItem* item = GetCompanionItem(userId);
    return item != NULL && item->dwCompanion == COMPANION_DETEST;
}

bool CGlobalOption::CallCompanionUpdate(const tagCompanionItem* item)
{
    IGellbrook* companions = g_GlobalUnits.m_GellbrookHelper.GetInterface();
    return companions != NULL && companions->UpdateCompanion(item);
}

// ------------------------------------------------------------------ picture component

HRESULT CGlobalOption::CreatePictureComponent()
{
    IUnknown* object = NULL;
    HRESULT hr = CoCreateInstance(kPictureComponentClass, NULL, 23, IID_IUnknown, (void**)&object);
    if (object != NULL)
        object->Release();
    return hr;
}

bool CGlobalOption::RunHidden(LPCSTR commandLine)
{
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof(process));
    CString line(commandLine);
    if (!CreateProcessA(NULL, line.GetBuffer(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void CGlobalOption::RegisterPictureComponent()
{
    if (CreatePictureComponent() != REGDB_E_CLASSNOTREG)
        return;
    CString path;
    path.Format("%sCorvath.dll", g_GlobalUnits.GetWorkDirectory());
    CString command;
    command.Format("regsvr32 /s \"%s\"", (LPCSTR)path);
    RunHidden(command);
}
