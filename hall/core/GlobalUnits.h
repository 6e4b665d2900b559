// The hall's global units: program and resource folders, the string
// resources, the common font, the six module holders, the logged-on user's
// record, the session's web key, the sub-station and origin identity, and the
// small services many windows share (web addresses, the web log-in, the
// machine identifier, pictures, the clipboard, the boss hot key). One object,
// g_GlobalUnits, lives for the whole process.
#pragma once

#include <afxwin.h>
#include <afxtempl.h>

#include "GlobalUserData.h"
#include "IDownLoadService.h"
#include "IGameAvatarRes.h"
#include "IGameRankManager.h"
#include "IGellbrook.h"
#include "IRegionManager.h"
#include "IUserFaceRes.h"
#include "XTVResourceManager.h"
#include "update/FileUpdate.h"

class CGameTreeManager;
class CGameRoom;
class CPlazaViewItem;
class CCustomFaceManagerWnd;
class IRoomWaitView;

class CGlobalUnits
{
public:
    typedef CMap<DWORD, DWORD, CGameRoom*, CGameRoom*> CRoomMap;

    CGlobalUnits();
    virtual ~CGlobalUnits();

    // Start-up, once before any window: folders from the running program,
    // string resources, the module holders (a failed one shows its box and
    // answers false), the modules' data, the static configuration, the font.
    bool InitGlobalUnits();
    // The program folder (trailing backslash added) and "<folder>Res\" under
    // it; also what InitGlobalUnits takes from the running program. False,
    // and both empty, when either does not fit its field.
    bool SetWorkDirectory(LPCSTR folder);

    const char* GetResourceDirectory() const { return m_szResourceDirectory; }
    const char* GetWorkDirectory() const { return m_szWorkDirectory; }
    CFont* GetFont() { return &m_Font; }
    tagGlobalUserData* GetGlobalUserData() { return &m_UserData; }
    // Zeroes the user record (account switch).
    void ResetUserData();
    CFileUpdate* GetFileUpdate() { return &m_FileUpdate; }
    // The region table of the shared module library; null before the
    // modules are made.
    IRegionManager* GetRegionManager() { return m_RegionManagerHelper.GetInterface(); }

    void SetWebKey(LPCSTR key);
    const char* GetWebKey() const { return m_szWebKey; }
    bool SetGameTreeManager(CGameTreeManager* manager);
    CGameTreeManager* GetGameTreeManager() const { return m_pGameTreeManager; }
    bool SetPlazaView(CPlazaViewItem* view);
    CPlazaViewItem* GetPlazaView() const { return m_pPlazaView; }

    DWORD GetSubStationId() const { return m_dwSubStationId; }
    CString GetSubStationName() const { return m_strSubStationName; }
    DWORD GetOriginId() const { return m_dwOriginId; }
    CString GetOriginName() const { return m_strOriginName; }
    // Reads [SubStation] and [Origin] of the static configuration file;
    // a missing file gives ids 0 and empty names.
    void LoadStaticConfig(LPCSTR iniPath);

    // String resources of VQString.dll; empty for an unknown id.
    CXTVResourceManager* GetResourceManager() { return &m_ResourceManager; }
    CString LoadResString(UINT id) const;

    // Room id -> room, filled while the server tree is built; the first room
    // stored for an id stays.
    void AddRoomMapItem(DWORD roomId, CGameRoom* room);
    CGameRoom* LookupRoomMapItem(DWORD roomId) const;
    const CRoomMap& GetRoomMap() const { return m_RoomMap; }
    void ClearRoomMap() { m_RoomMap.RemoveAll(); }

    // Web addresses. In the plaza, a page shows only while the room tab
    // window is installed.
    void ReplaceUrlPlaceholders(CString& url) const;
    CString AppendUserKey(LPCSTR url) const;
    bool OpenUserUrl(LPCSTR url, bool inPlaza);
    // The web log-in and log-out calls of the dynamic configuration; true
    // when none is configured or the server took the call.
    bool WebLogin(LPCSTR password);
    bool WebLogout();

    // Machine identifier and the saved-accounts key (33 characters each).
    void GetMachineID(char id[33]);
    void GetAccountsKey(char key[33]);
    WORD GetAdapterAddresses(BYTE* out, WORD capacity);

    // UTF-8 text converted to the system code page, in place.
    static void Utf8ToText(CString& text);
    // A bitmap of the picture file the caller deletes, or null.
    static HBITMAP LoadPictureFile(LPCSTR path);
    // Low byte the virtual key, high byte the HOTKEYF_* modifiers.
    static bool RegisterHotKey(HWND hWnd, int id, WORD hotKey);
    static UINT HotKeyModifiers(WORD hotKey);
    bool CopyToClipboard(LPCSTR text);

    // Windows of other parts of the hall, reached through what they
    // installed (HallWindows.h): null without a frame; the room view given
    // enters or leaves its waiting state, false for none.
    CCustomFaceManagerWnd* GetCustomFaceManager();
    bool HideRoomControls(IRoomWaitView* view);
    bool RestoreRoomControls(IRoomWaitView* view);
    bool IsActionBlocked() const { return false; }
    void IgnoreText(LPCSTR text) {}

    // The module holders, reached through GetInterface by their users.
    CUserFaceResHelper m_UserFaceResHelper;
    CGameRankManagerHelper m_GameRankManagerHelper;
    CDownLoadServiceHelper m_DownLoadServiceHelper;
    CGameAvatarResHelper m_GameAvatarResHelper;
    CRegionManagerHelper m_RegionManagerHelper;
    CGellbrookHelper m_GellbrookHelper;

private:
    CGlobalUnits(const CGlobalUnits&) = delete;
    CGlobalUnits& operator=(const CGlobalUnits&) = delete;

    bool CreateModules();
    bool PostWebCall(LPCSTR query);

    char m_szResourceDirectory[MAX_PATH];
    char m_szWorkDirectory[MAX_PATH];
    CFont m_Font;
    char m_szWebKey[MAX_PATH];
    DWORD m_dwSubStationId;
    CString m_strSubStationName;
    DWORD m_dwOriginId;
    CString m_strOriginName;
    CXTVResourceManager m_ResourceManager;
    CPlazaViewItem* m_pPlazaView;
    CGameTreeManager* m_pGameTreeManager;
    CRoomMap m_RoomMap;
    tagGlobalUserData m_UserData;
    CFileUpdate m_FileUpdate;
};

extern CGlobalUnits g_GlobalUnits;

// Date and time "year-month-day hour:minute:second" as a local time value;
// 0 when the date is not complete or not a time. A missing time is 00:00:00.
LONGLONG ParseDateTime(LPCSTR text);
// Numbers separated by blanks: "left top right bottom", "x y",
// "red green blue". Missing numbers are 0.
void StringToRect(CRect& rect, LPCSTR text);
void StringToPoint(CPoint& point, LPCSTR text);
void StringToColor(COLORREF& color, LPCSTR text);

// Opens an address in the default browser: the shell's "open", else the
// command of the ".htm" class. Above 32 on success; 0 for an empty address.
int OpenUrlInBrowser(LPCSTR url, int showCommand);

// How OpenUrlInBrowser reaches the system; tests install their own.
class CBrowserLauncher
{
public:
    virtual ~CBrowserLauncher() {}
    virtual INT_PTR ShellOpen(LPCSTR url, int showCommand);
    // The default value of a key under HKEY_CLASSES_ROOT.
    virtual bool ReadClassValue(LPCSTR key, CString& value);
    virtual bool StartProcess(LPCSTR commandLine);

    // Answers the previous launcher; null restores the system's.
    static CBrowserLauncher* Install(CBrowserLauncher* launcher);
};
