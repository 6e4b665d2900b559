#include "GlobalUnits.h"

#include <afxtest.h>
#include <commctrl.h>
#include <ole2.h>
#include <olectl.h>
#include <string.h>

#include "IniFile.h"
#include "MachineID.h"
#include "TextUnit.h"

CGlobalUnits g_GlobalUnits;

namespace
{

// The start-up's box: no owner, before any window exists. Tests answer it
// through the modal responder.
void ShowSystemBox(LPCSTR text)
{
    AFX_MODAL_REQUEST request;
    request.nKind = afxModalMessageBox;
    request.strCaption = "系统消息";
    request.strText = text;
    request.nType = MB_ICONQUESTION;
    INT_PTR result = 0;
    if (AfxModalRespond(request, result))
        return;
    ::MessageBoxA(NULL, text, "系统消息", MB_ICONQUESTION);
}

} // namespace

CGlobalUnits::CGlobalUnits()
    : m_dwSubStationId(0), m_dwOriginId(0), m_pPlazaView(NULL), m_pGameTreeManager(NULL), m_RoomMap(10)
{
    m_szResourceDirectory[0] = '\0';
    m_szWorkDirectory[0] = '\0';
    m_szWebKey[0] = '\0';
    memset(&m_UserData, 0, sizeof(m_UserData));
}

CGlobalUnits::~CGlobalUnits() {}

bool CGlobalUnits::SetWorkDirectory(LPCSTR folder)
{
    CString work(folder != NULL ? folder : "");
    if (!work.IsEmpty() && work.Right(1) != "\\")
        work += "\\";
    CString resource;
    resource.Format("%sRes\\", (LPCSTR)work);
    // A cut folder would be another folder: both fit whole or neither is kept.
    if (!TextCopyPath(m_szWorkDirectory, work) || !TextCopyPath(m_szResourceDirectory, resource)) {
        m_szWorkDirectory[0] = '\0';
        m_szResourceDirectory[0] = '\0';
        return false;
    }
    return true;
}

bool CGlobalUnits::InitGlobalUnits()
{
    // The program's own folder, whatever its file is called.
    char path[MAX_PATH] = "";
    DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        char* slash = strrchr(path, '\\');
        if (slash != NULL)
            slash[1] = '\0';
    } else {
        path[0] = '\0';
    }
    if (!SetWorkDirectory(path))
        return false;
    SetCurrentDirectoryA(m_szWorkDirectory);

    m_ResourceManager.SetResourceFile("VQString.dll");

    if (!CreateModules())
        return false;

    CString file;
    file.Format("%sFace\\", m_szWorkDirectory);
    m_UserFaceResHelper.GetInterface()->LoadFaces(file);
    file.Format("%sGameAvatar\\", m_szWorkDirectory);
    m_GameAvatarResHelper.GetInterface()->LoadAvatars(file);
    file.Format("%sconfig\\original\\Region.ini", m_szWorkDirectory);
    m_RegionManagerHelper.GetInterface()->LoadRegion(file);

    file.Format("%sconfig\\original\\StaticCfg.ini", m_szWorkDirectory);
    LoadStaticConfig(file);

    if (m_Font.GetSafeHandle() == NULL)
        m_Font.CreateFont(12, 0, 0, 0, 400, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, 0x20, "宋体");
    return true;
}

bool CGlobalUnits::CreateModules()
{
    struct Step
    {
        bool (*create)(CGlobalUnits*);
        const char* text;
    };
    static const Step steps[] = {
        {[](CGlobalUnits* g) { return g->m_UserFaceResHelper.CreateInstance(); }, "头像组件创建失败！"},
        {[](CGlobalUnits* g) { return g->m_GameRankManagerHelper.CreateInstance(); }, "等级组件创建失败！"},
        {[](CGlobalUnits* g) { return g->m_DownLoadServiceHelper.CreateInstance(); }, "下载组件创建失败！"},
        {[](CGlobalUnits* g) { return g->m_GameAvatarResHelper.CreateInstance(); }, "玩家形象组件创建失败！"},
        {[](CGlobalUnits* g) { return g->m_RegionManagerHelper.CreateInstance(); }, "区域组件创建失败！"},
        {[](CGlobalUnits* g) { return g->m_GellbrookHelper.CreateInstance(); }, "好友组件创建失败！"},
    };
    for (const Step& step : steps) {
        if (!step.create(this)) {
            ShowSystemBox(step.text);
            return false;
        }
    }
    return true;
}

void CGlobalUnits::LoadStaticConfig(LPCSTR iniPath)
{
    CIniFile ini(iniPath);
    m_dwSubStationId = (DWORD)ini.GetInt("SubStation", "Id", 0);
    ini.GetString("SubStation", "Name", m_strSubStationName, "");
    m_dwOriginId = (DWORD)ini.GetInt("Origin", "Id", 0);
    ini.GetString("Origin", "Name", m_strOriginName, "");
}

void CGlobalUnits::ResetUserData()
{
    memset(&m_UserData, 0, sizeof(m_UserData));
}

void CGlobalUnits::SetWebKey(LPCSTR key)
{
    TextCopyField(m_szWebKey, key);
}

bool CGlobalUnits::SetGameTreeManager(CGameTreeManager* manager)
{
    m_pGameTreeManager = manager;
    return true;
}

bool CGlobalUnits::SetPlazaView(CPlazaViewItem* view)
{
    m_pPlazaView = view;
    return true;
}

CString CGlobalUnits::LoadResString(UINT id) const
{
    CString text;
    m_ResourceManager.LoadString(text, id);
    return text;
}

void CGlobalUnits::AddRoomMapItem(DWORD roomId, CGameRoom* room)
{
    CGameRoom* existing = NULL;
    if (!m_RoomMap.Lookup(roomId, existing))
        m_RoomMap.SetAt(roomId, room);
}

CGameRoom* CGlobalUnits::LookupRoomMapItem(DWORD roomId) const
{
    CGameRoom* room = NULL;
    return m_RoomMap.Lookup(roomId, room) ? room : NULL;
}

void CGlobalUnits::ReplaceUrlPlaceholders(CString& url) const
{
    CString number;
    number.Format("%lu", (unsigned long)m_dwSubStationId);
    url.Replace("<%SubStationId%>", number);
    if (!m_strSubStationName.IsEmpty())
        url.Replace("<%SubStationName%>", m_strSubStationName);
    number.Format("%lu", (unsigned long)m_dwOriginId);
    url.Replace("<%OriginId%>", number);
    if (!m_strOriginName.IsEmpty())
        url.Replace("<%OriginName%>", m_strOriginName);
}

CString CGlobalUnits::AppendUserKey(LPCSTR url) const
{
    CString result(url != NULL ? url : "");
    result.AppendFormat(result.Find('?') >= 0 ? "&Uid=%d&Key=%s" : "?Uid=%d&Key=%s", (int)m_UserData.dwUserID,
                        m_szWebKey);
    return result;
}

void CGlobalUnits::GetMachineID(char id[33])
{
    CMachineID::GetMachineID(id);
}

void CGlobalUnits::GetAccountsKey(char key[33])
{
    CMachineID::GetAccountsKey(key);
}

WORD CGlobalUnits::GetAdapterAddresses(BYTE* out, WORD capacity)
{
    return CMachineID::GetAdapterAddresses(out, capacity);
}

void CGlobalUnits::Utf8ToText(CString& text)
{
    std::string converted;
    if (TextFromUtf8(text, converted, true))
        text = converted.c_str();
}

HBITMAP CGlobalUnits::LoadPictureFile(LPCSTR path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return NULL;
    DWORD size = GetFileSize(file, NULL);
    HBITMAP result = NULL;
    HGLOBAL memory = (size != INVALID_FILE_SIZE && size > 0) ? GlobalAlloc(GMEM_MOVEABLE, size) : NULL;
    if (memory != NULL) {
        void* data = GlobalLock(memory);
        DWORD read = 0;
        BOOL ok = data != NULL && ReadFile(file, data, size, &read, NULL) && read == size;
        GlobalUnlock(memory);
        IStream* stream = NULL;
        if (ok && SUCCEEDED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
            memory = NULL; // the stream owns it
            IPicture* picture = NULL;
            if (SUCCEEDED(OleLoadPicture(stream, (LONG)size, FALSE, IID_IPicture, (void**)&picture)) &&
                picture != NULL) {
                OLE_HANDLE handle = 0;
                SHORT type = PICTYPE_NONE;
                if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP &&
                    SUCCEEDED(picture->get_Handle(&handle)))
                    result = (HBITMAP)CopyImage((HANDLE)(UINT_PTR)handle, IMAGE_BITMAP, 0, 0, 0);
                picture->Release();
            }
            stream->Release();
        }
        if (memory != NULL)
            GlobalFree(memory);
    }
    CloseHandle(file);
    return result;
}

UINT CGlobalUnits::HotKeyModifiers(WORD hotKey)
{
    BYTE flags = HIBYTE(hotKey);
    UINT modifiers = 0;
    if (flags & HOTKEYF_SHIFT)
        modifiers |= MOD_SHIFT;
    if (flags & HOTKEYF_CONTROL)
        modifiers |= MOD_CONTROL;
    if (flags & HOTKEYF_ALT)
        modifiers |= MOD_ALT;
    return modifiers;
}

bool CGlobalUnits::RegisterHotKey(HWND hWnd, int id, WORD hotKey)
{
    return ::RegisterHotKey(hWnd, id, HotKeyModifiers(hotKey), LOBYTE(hotKey)) != FALSE;
}

bool CGlobalUnits::CopyToClipboard(LPCSTR text)
{
    if (text == NULL)
        return false;
    CWnd* mainWnd = AfxGetMainWnd();
    if (!OpenClipboard(mainWnd != NULL ? mainWnd->GetSafeHwnd() : NULL))
        return false;
    bool done = false;
    if (EmptyClipboard()) {
        size_t size = strlen(text) + 1;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
        if (memory != NULL) {
            void* data = GlobalLock(memory);
            if (data != NULL) {
                memcpy(data, text, size);
                GlobalUnlock(memory);
                done = SetClipboardData(CF_TEXT, memory) != NULL;
            }
            if (!done)
                GlobalFree(memory);
        }
    }
    CloseClipboard();
    return done;
}
