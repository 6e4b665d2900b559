#include "HallProcess.h"

#include <commctrl.h>
#include <gdiplus.h>
#include <string.h>

#include "DemoWorld.h"
#include "ProcessWindows.h"
#include "TestWait.h"

namespace e2e
{

namespace
{

struct tagSearch
{
    const std::function<bool(HWND)>* pAccept;
    std::vector<HWND> Found;
    bool bAll;
};

BOOL CALLBACK CollectChild(HWND hWnd, LPARAM lParam)
{
    tagSearch* search = (tagSearch*)lParam;
    if ((*search->pAccept)(hWnd)) {
        search->Found.push_back(hWnd);
        return search->bAll;
    }
    return TRUE;
}

// The remote page: structures first, the text buffer after them.
const size_t kRemoteSize = 4096;
const size_t kTextOffset = 1024;
const int kTextSize = 1024;

} // namespace

std::string BuildFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    char* slash = strrchr(path, '\\');
    if (slash != NULL)
        *slash = '\0';
    return path;
}

std::string TextOf(HWND hWnd)
{
    // GetWindowText does not ask a window of another process for its text;
    // the message does.
    char text[2048] = "";
    DWORD_PTR nResult = 0;
    SendMessageTimeoutA(hWnd, WM_GETTEXT, sizeof(text), (LPARAM)text, SMTO_ABORTIFHUNG, kWait, &nResult);
    return text;
}

std::string ClassOf(HWND hWnd)
{
    char name[128] = "";
    GetClassNameA(hWnd, name, sizeof(name));
    return name;
}

HWND FindChild(HWND hParent, const std::function<bool(HWND)>& accept)
{
    tagSearch search = {&accept, {}, false};
    EnumChildWindows(hParent, CollectChild, (LPARAM)&search);
    return search.Found.empty() ? NULL : search.Found.front();
}

std::vector<HWND> FindChildren(HWND hParent, const std::function<bool(HWND)>& accept)
{
    tagSearch search = {&accept, {}, true};
    EnumChildWindows(hParent, CollectChild, (LPARAM)&search);
    return search.Found;
}

bool ShowsText(HWND hWnd, const std::string& words)
{
    if (TextOf(hWnd).find(words) != std::string::npos)
        return true;
    return FindChild(hWnd, [&](HWND hChild) { return TextOf(hChild).find(words) != std::string::npos; }) != NULL;
}

void Click(HWND hButton)
{
    PostMessageA(GetParent(hButton), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hButton), BN_CLICKED), (LPARAM)hButton);
}

bool Answers(HWND hWnd)
{
    DWORD_PTR nResult = 0;
    return SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kWait, &nResult) != 0;
}

void Shot(HWND hWnd, const std::string& name)
{
    char folder[MAX_PATH] = "";
    if (GetEnvironmentVariableA("TAVREL_E2E_SHOTS", folder, sizeof(folder)) == 0 || !IsWindow(hWnd))
        return;
    static ULONG_PTR s_Token = 0;
    if (s_Token == 0) {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&s_Token, &input, NULL) != Gdiplus::Ok)
            return;
    }
    RECT rect;
    GetWindowRect(hWnd, &rect);
    const int cx = rect.right - rect.left, cy = rect.bottom - rect.top;
    if (cx <= 0 || cy <= 0)
        return;
    HDC hScreen = GetDC(NULL);
    HDC hMemory = CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, cx, cy);
    HGDIOBJ hOld = SelectObject(hMemory, hBitmap);
    // What the screen shows there: a window of another process cannot be
    // asked to print itself into this process's memory.
    BitBlt(hMemory, 0, 0, cx, cy, hScreen, rect.left, rect.top, SRCCOPY);
    SelectObject(hMemory, hOld);
    // The PNG encoder of GDI+.
    const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    const std::string path = std::string(folder) + "\\" + name + ".png";
    std::wstring wide(path.begin(), path.end());
    {
        Gdiplus::Bitmap picture(hBitmap, NULL);
        picture.Save(wide.c_str(), &png, NULL);
    }
    DeleteObject(hBitmap);
    DeleteDC(hMemory);
    ReleaseDC(NULL, hScreen);
}

HWND WaitTopWindow(const std::function<bool(HWND)>& accept, DWORD dwTimeout)
{
    HWND hFound = NULL;
    std::function<bool(HWND)> visible = [&](HWND hWnd) { return IsWindowVisible(hWnd) && accept(hWnd); };
    PumpUntil(
        [&] {
            // The desktop's children are the top-level windows.
            hFound = NULL;
            for (HWND hWnd = GetTopWindow(NULL); hWnd != NULL && hFound == NULL; hWnd = GetWindow(hWnd, GW_HWNDNEXT))
                if (visible(hWnd))
                    hFound = hWnd;
            return hFound != NULL;
        },
        dwTimeout);
    return hFound;
}

HallProcess::HallProcess(WORD wHallPort) : m_Folder("tavrel-e2e")
{
    const std::string bin = BuildFolder();
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA((bin + "\\*.dll").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            Copy(bin + "\\" + found.cFileName, m_Folder.File(found.cFileName));
        } while (FindNextFileA(hFind, &found));
        FindClose(hFind);
    }
    for (const char* program : {"Tavrel.exe", "Quillon.exe", "Murlow.exe", "MiniTavrel.exe"})
        Copy(bin + "\\" + program, m_Folder.File(program));
    CDemoWorld::InstallProgramFiles(m_Folder.Path(), bin + "\\gameclient.exe");
    m_Folder.Write("config\\ServerList.ini", CDemoWorld::ServerListText(wHallPort));
    // No mini hall: started after a logon, it would outlive the hall.
    m_Folder.Write("config\\Dynamic\\DynaItemCfg.ini", "[show]\r\nShowMiniPlaza=0\r\n");
}

void HallProcess::InstallService(WORD wServicePort, const std::string& faceUploadUrl)
{
    m_Folder.Write("Config\\ServiceServerList.ini", CDemoWorld::ServiceServerListText(wServicePort));
    m_Folder.Write("config\\Urls.ini", "[CustomFace]\r\nupdateurl=" + faceUploadUrl + "\r\n");
    const std::string skin = "Res\\Quillon\\CustomFace\\";
    for (const char* picture : {"FaceImage.png", "BehindImage.png"}) {
        MakeFolders(m_Folder.File(skin + picture));
        Copy(BuildFolder() + "\\" + skin + picture, m_Folder.File(skin + picture));
    }
}

void HallProcess::Copy(const std::string& from, const std::string& to)
{
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE))
        m_Failure += "cannot copy " + from + ": error " + std::to_string(GetLastError()) + "\n";
}

HallProcess::~HallProcess()
{
    Kill();
}

bool HallProcess::Start()
{
    Kill();
    std::string program = m_Folder.File("Tavrel.exe");
    std::vector<char> line(program.begin(), program.end());
    line.push_back(0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessA(program.c_str(), line.data(), NULL, NULL, FALSE, 0, NULL, m_Folder.Path().c_str(), &startup,
                        &m_Process)) {
        m_Failure += "cannot start " + program + ": error " + std::to_string(GetLastError()) + "\n";
        return false;
    }
    m_pRemote = VirtualAllocEx(m_Process.hProcess, NULL, kRemoteSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (m_pRemote == NULL)
        m_Failure += "no page in the hall's memory: error " + std::to_string(GetLastError()) + "\n";
    return m_pRemote != NULL;
}

void HallProcess::Kill()
{
    if (m_Process.hProcess == NULL)
        return;
    if (WaitForSingleObject(m_Process.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(m_Process.hProcess, 1);
        WaitForSingleObject(m_Process.hProcess, kWait);
    }
    CloseHandle(m_Process.hThread);
    CloseHandle(m_Process.hProcess);
    m_Process = PROCESS_INFORMATION();
    m_pRemote = NULL;
}

bool HallProcess::Ended(DWORD dwTimeout)
{
    return PumpUntil([&] { return WaitForSingleObject(m_Process.hProcess, 0) == WAIT_OBJECT_0; }, dwTimeout);
}

DWORD HallProcess::ExitCode()
{
    DWORD dwCode = STILL_ACTIVE;
    GetExitCodeProcess(m_Process.hProcess, &dwCode);
    return dwCode;
}

HWND HallProcess::WaitWindow(const std::function<bool(HWND)>& accept, DWORD dwTimeout)
{
    HWND hFound = NULL;
    PumpUntil(
        [&] {
            hFound = FindProcessWindow(m_Process.dwProcessId, accept);
            return hFound != NULL || WaitForSingleObject(m_Process.hProcess, 0) == WAIT_OBJECT_0;
        },
        dwTimeout);
    return hFound;
}

HWND HallProcess::WaitChild(HWND hParent, const std::function<bool(HWND)>& accept, DWORD dwTimeout)
{
    HWND hFound = NULL;
    PumpUntil(
        [&] {
            hFound = FindChild(hParent, accept);
            return hFound != NULL || !IsWindow(hParent);
        },
        dwTimeout);
    return hFound;
}

std::string HallProcess::DescribeWindows()
{
    std::string text;
    for (HWND hWnd : TopWindows()) {
        text += ClassOf(hWnd) + " \"" + TextOf(hWnd) + "\"";
        for (HWND hChild : FindChildren(hWnd, [](HWND h) { return IsWindowVisible(h) && !TextOf(h).empty(); }))
            text +=
                " [" + ClassOf(hChild) + " " + std::to_string(GetDlgCtrlID(hChild)) + " \"" + TextOf(hChild) + "\"]";
        text += "\n";
    }
    return text;
}

std::vector<HWND> HallProcess::TopWindows()
{
    return ProcessWindows(m_Process.dwProcessId);
}

HWND HallProcess::WaitFrame()
{
    return WaitWindow([](HWND hWnd) { return ClassOf(hWnd) == "Tavrel"; });
}

HWND HallProcess::WaitBox(const std::string& words)
{
    return WaitWindow([&](HWND hWnd) { return !IsLogonDialog(hWnd) && ShowsText(hWnd, words); });
}

bool HallProcess::IsLogonDialog(HWND hWnd)
{
    return GetDlgItem(hWnd, kAccountBoxId) != NULL && GetDlgItem(hWnd, kPasswordHostId) != NULL;
}

bool HallProcess::IsLogonIdle(HWND hDialog)
{
    return IsWindowVisible(GetDlgItem(hDialog, IDOK)) && !IsWindowVisible(GetDlgItem(hDialog, kLogonProgressId)) &&
           IsWindowEnabled(GetDlgItem(hDialog, kAccountBoxId));
}

void HallProcess::LogOn(HWND hDialog, const char* account, const char* password, bool bRemember)
{
    if (account != NULL)
        SendMessageA(GetDlgItem(hDialog, kAccountBoxId), WM_SETTEXT, 0, (LPARAM)account);
    if (password != NULL)
        SendMessageA(GetDlgItem(GetDlgItem(hDialog, kPasswordHostId), kPasswordEditId), WM_SETTEXT, 0,
                     (LPARAM)password);
    if (bRemember)
        SendMessageA(GetDlgItem(hDialog, kRememberId), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(hDialog, IDOK));
}

bool HallProcess::ReadRemote(const void* pRemote, void* pLocal, size_t nSize)
{
    SIZE_T nRead = 0;
    return m_pRemote != NULL && ReadProcessMemory(m_Process.hProcess, pRemote, pLocal, nSize, &nRead) && nRead == nSize;
}

bool HallProcess::WriteRemote(void* pRemote, const void* pLocal, size_t nSize)
{
    SIZE_T nWritten = 0;
    return m_pRemote != NULL && WriteProcessMemory(m_Process.hProcess, pRemote, pLocal, nSize, &nWritten) &&
           nWritten == nSize;
}

std::vector<HallProcess::tagTreeItem> HallProcess::TreeItems(HWND hTree)
{
    std::vector<tagTreeItem> items;
    char* pText = (char*)m_pRemote + kTextOffset;
    std::function<void(HTREEITEM, HTREEITEM)> walk = [&](HTREEITEM hFirst, HTREEITEM hParent) {
        for (HTREEITEM hItem = hFirst; hItem != NULL;
             hItem = (HTREEITEM)SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)hItem)) {
            TVITEMA item = {};
            item.mask = TVIF_TEXT | TVIF_HANDLE;
            item.hItem = hItem;
            item.pszText = pText;
            item.cchTextMax = kTextSize;
            char text[kTextSize] = "";
            if (WriteRemote(m_pRemote, &item, sizeof(item)) &&
                SendMessageA(hTree, TVM_GETITEMA, 0, (LPARAM)m_pRemote) != 0)
                ReadRemote(pText, text, sizeof(text) - 1);
            items.push_back({hItem, hParent, text});
            walk((HTREEITEM)SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_CHILD, (LPARAM)hItem), hItem);
        }
    };
    walk((HTREEITEM)SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0), NULL);
    return items;
}

bool HallProcess::ShowTreeItem(HWND hTree, HTREEITEM hItem, RECT& rect)
{
    std::vector<HTREEITEM> parents;
    for (HTREEITEM h = (HTREEITEM)SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_PARENT, (LPARAM)hItem); h != NULL;
         h = (HTREEITEM)SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_PARENT, (LPARAM)h))
        parents.insert(parents.begin(), h);
    for (HTREEITEM h : parents)
        SendMessageA(hTree, TVM_EXPAND, TVE_EXPAND, (LPARAM)h);
    SendMessageA(hTree, TVM_ENSUREVISIBLE, 0, (LPARAM)hItem);
    // TVM_GETITEMRECT takes the item in the rectangle's place.
    RECT request = {};
    memcpy(&request, &hItem, sizeof(hItem));
    return WriteRemote(m_pRemote, &request, sizeof(request)) &&
           SendMessageA(hTree, TVM_GETITEMRECT, FALSE, (LPARAM)m_pRemote) != 0 &&
           ReadRemote(m_pRemote, &rect, sizeof(rect));
}

bool HallProcess::DoubleClickTreeItem(HWND hTree, const std::string& words)
{
    HTREEITEM hItem = NULL;
    for (const tagTreeItem& item : TreeItems(hTree))
        if (item.strText.find(words) != std::string::npos)
            hItem = item.hItem;
    RECT rect;
    if (hItem == NULL || !ShowTreeItem(hTree, hItem, rect))
        return false;
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    POINT screen = point;
    ClientToScreen(hTree, &screen);
    // The tree reads the item under the cursor.
    SetCursorPos(screen.x, screen.y);
    return PostMessageA(hTree, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(point.x, point.y)) != FALSE;
}

std::vector<std::string> HallProcess::ListRows(HWND hList)
{
    std::vector<std::string> rows;
    const int nRows = (int)SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0);
    HWND hHeader = (HWND)SendMessageA(hList, LVM_GETHEADER, 0, 0);
    const int nColumns = hHeader != NULL ? (int)SendMessageA(hHeader, HDM_GETITEMCOUNT, 0, 0) : 1;
    char* pText = (char*)m_pRemote + kTextOffset;
    for (int nRow = 0; nRow < nRows; ++nRow) {
        std::string row;
        for (int nColumn = 0; nColumn < nColumns; ++nColumn) {
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iSubItem = nColumn;
            item.pszText = pText;
            item.cchTextMax = kTextSize;
            char text[kTextSize] = "";
            if (WriteRemote(m_pRemote, &item, sizeof(item)) &&
                SendMessageA(hList, LVM_GETITEMTEXTA, nRow, (LPARAM)m_pRemote) > 0)
                ReadRemote(pText, text, sizeof(text) - 1);
            row += (nColumn > 0 ? "|" : "") + std::string(text);
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace e2e
