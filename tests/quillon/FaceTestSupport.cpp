#include "FaceTestSupport.h"

#include <stdio.h>
#include <string.h>

#include "CustomFace.h"
#include "TabDlg.h"

bool RunningUnderWine()
{
    HMODULE hNtdll = GetModuleHandleA("ntdll.dll");
    return hNtdll != NULL && GetProcAddress(hNtdll, "wine_get_version") != NULL;
}

bool SetWineDllOrder(const char* pszProgram, const char* pszDll, const char* pszOrder)
{
    std::string strKey = std::string("Software\\Wine\\AppDefaults\\") + pszProgram + "\\DllOverrides";
    HKEY hKey = NULL;
    DWORD dwDisposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, strKey.c_str(), 0, NULL, 0, KEY_SET_VALUE | KEY_QUERY_VALUE, NULL, &hKey,
                        &dwDisposition) != ERROR_SUCCESS)
        return false;
    char szOld[64] = "";
    DWORD cbOld = sizeof(szOld) - 1;
    bool bSame = RegQueryValueExA(hKey, pszDll, NULL, NULL, reinterpret_cast<BYTE*>(szOld), &cbOld) == ERROR_SUCCESS &&
                 strcmp(szOld, pszOrder) == 0;
    if (!bSame)
        RegSetValueExA(hKey, pszDll, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszOrder), DWORD(strlen(pszOrder) + 1));
    RegCloseKey(hKey);
    return !bSame;
}

namespace
{

// Under Wine the system's own source manager would be taken before the
// stand-in beside this program. Wine reads a program's settings when it
// starts: the first time they are written here, the program runs again.
struct CPreferStandIn
{
    CPreferStandIn()
    {
        if (!RunningUnderWine())
            return;
        char szModule[MAX_PATH] = "";
        GetModuleFileNameA(NULL, szModule, sizeof(szModule));
        const char* pszName = strrchr(szModule, '\\');
        if (!SetWineDllOrder(pszName != NULL ? pszName + 1 : szModule, "twain_32", "native,builtin"))
            return;
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        std::string strCommand = GetCommandLineA();
        if (!CreateProcessA(szModule, &strCommand[0], NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi))
            return;
        WaitForSingleObject(pi.hProcess, INFINITE);
        DWORD dwCode = 1;
        GetExitCodeProcess(pi.hProcess, &dwCode);
        ExitProcess(dwCode);
    }
} g_PreferStandIn;

} // namespace

void EnsureFaceTestApp()
{
    static CWinApp* app = new CWinApp("QuillonFaceTests");
    (void)app;
}

CFaceHost::CFaceHost()
{
    EnsureFaceTestApp();
    CreateEx(0, AfxRegisterWndClass(0), "FaceHost", WS_POPUP | WS_CLIPCHILDREN, CRect(0, 0, 460, 380), NULL, 0);
}

CFaceHost::~CFaceHost()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

LRESULT CFaceHost::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_FACE_PICKED || message == WM_QUILLON_MODIFY || message == WM_QUILLON_FACE) {
        Messages.push_back({message, wParam, lParam});
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

std::vector<CFaceHost::Heard> CFaceHost::Of(UINT message) const
{
    std::vector<Heard> found;
    for (const Heard& heard : Messages)
        if (heard.message == message)
            found.push_back(heard);
    return found;
}

std::string WriteTwoColourBmp(const std::string& strPath, int cx, int cy, COLORREF colour1, COLORREF colour2)
{
    const int nStride = (cx * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = DWORD(file.bfOffBits + nStride * cy);
    info.biSize = sizeof(info);
    info.biWidth = cx;
    info.biHeight = cy;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = DWORD(nStride * cy);
    std::vector<BYTE> rows(size_t(nStride) * cy, 0);
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) {
            COLORREF c = x < cx / 2 ? colour1 : colour2;
            BYTE* p = &rows[size_t(y) * nStride + x * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    FILE* f = fopen(strPath.c_str(), "wb");
    if (f == NULL)
        return std::string();
    fwrite(&file, sizeof(file), 1, f);
    fwrite(&info, sizeof(info), 1, f);
    fwrite(rows.data(), 1, rows.size(), f);
    fclose(f);
    return strPath;
}

CStandInManager::CStandInManager() : m_pScript(NULL), m_pCount(NULL), m_pCall(NULL)
{
    m_hModule = LoadLibraryA("TWAIN_32.DLL");
    if (m_hModule != NULL) {
        m_pScript =
            reinterpret_cast<STANDINSCRIPTPROC>(reinterpret_cast<void*>(GetProcAddress(m_hModule, "StandInScript")));
        m_pCount =
            reinterpret_cast<STANDINCOUNTPROC>(reinterpret_cast<void*>(GetProcAddress(m_hModule, "StandInCallCount")));
        m_pCall =
            reinterpret_cast<STANDINCALLPROC>(reinterpret_cast<void*>(GetProcAddress(m_hModule, "StandInGetCall")));
        if (m_pScript == NULL || m_pCount == NULL || m_pCall == NULL) {
            FreeLibrary(m_hModule);
            m_hModule = NULL;
        }
    }
}

CStandInManager::~CStandInManager()
{
    if (m_hModule != NULL)
        FreeLibrary(m_hModule);
}

void CStandInManager::Script(const tagStandInScript& script)
{
    if (m_pScript != NULL)
        m_pScript(&script);
}

std::vector<tagStandInCall> CStandInManager::Calls() const
{
    std::vector<tagStandInCall> calls;
    if (m_pCount == NULL)
        return calls;
    int n = m_pCount();
    for (int i = 0; i < n; ++i) {
        tagStandInCall call = {};
        if (m_pCall(i, &call))
            calls.push_back(call);
    }
    return calls;
}

int CStandInManager::Count(DWORD dwGroup, WORD wData, WORD wMessage) const
{
    int n = 0;
    for (const tagStandInCall& call : Calls())
        if (call.dwGroup == dwGroup && call.wData == wData && call.wMessage == wMessage)
            ++n;
    return n;
}
