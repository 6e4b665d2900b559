// CWinApp: start-up (AfxWinMain), the profile, resources and message boxes.
#include "AfxImpl.h"
#include <afxres.h>

#include <stdlib.h>
#include <stdio.h>
#include <string.h>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

static LPTSTR AfxStrDup(LPCTSTR psz)
{
    return psz != NULL ? _strdup(psz) : NULL;
}

static void AfxReplaceString(LPCTSTR& rpsz, LPCTSTR pszNew)
{
    LPTSTR pszCopy = AfxStrDup(pszNew);
    free((void*)rpsz);
    rpsz = pszCopy;
}

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_pszAppName(AfxStrDup(lpszAppName)), m_hInstance(NULL), m_lpCmdLine(NULL), m_nCmdShow(SW_SHOWNORMAL),
      m_pszExeName(NULL), m_pszHelpFilePath(NULL), m_pszProfileName(NULL), m_pszRegistryKey(NULL)
{
    // The application object is the thread object of the thread that makes it.
    AfxGetModuleState()->m_pCurrentWinApp = this;
    AfxGetThreadState()->m_pCurrentWinThread = this;
    m_hThread = NULL;
    m_nThreadID = ::GetCurrentThreadId();
    m_bAutoDelete = FALSE;
}

CWinApp::~CWinApp()
{
    free((void*)m_pszAppName);
    free((void*)m_pszExeName);
    free((void*)m_pszHelpFilePath);
    free((void*)m_pszProfileName);
    free((void*)m_pszRegistryKey);
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    if (pModuleState->m_pCurrentWinApp == this)
        pModuleState->m_pCurrentWinApp = NULL;
}

void CWinApp::SetCurrentHandles()
{
    m_hInstance = AfxGetInstanceHandle();

    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(m_hInstance, szPath, MAX_PATH);
    LPSTR pszTitle = szPath;
    for (LPSTR p = szPath; *p; p = ::CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':')
            pszTitle = p + 1;
    }
    char szExeName[MAX_PATH];
    lstrcpynA(szExeName, pszTitle, MAX_PATH);
    if (char* pszDot = strrchr(szExeName, '.'))
        *pszDot = '\0';

    if (m_pszExeName == NULL)
        m_pszExeName = AfxStrDup(szExeName);
    if (m_pszAppName == NULL) {
        CString strTitle;
        if (AfxLoadString(AFX_IDS_APP_TITLE, strTitle) && !strTitle.IsEmpty())
            m_pszAppName = AfxStrDup(strTitle);
        else
            m_pszAppName = AfxStrDup(m_pszExeName);
    }
    // The private profile file sits next to the program, named after it.
    if (m_pszProfileName == NULL) {
        CString strProfile(szPath, (int)(pszTitle - szPath));
        strProfile += m_pszExeName;
        strProfile += ".INI";
        m_pszProfileName = AfxStrDup(strProfile);
    }
    if (m_pszHelpFilePath == NULL) {
        CString strHelp(szPath, (int)(pszTitle - szPath));
        strHelp += m_pszExeName;
        strHelp += ".HLP";
        m_pszHelpFilePath = AfxStrDup(strHelp);
    }
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return (int)AfxGetThreadState()->m_msgCur.wParam;
}

int CWinApp::Run()
{
    // Nothing to run without a main window.
    if (m_pMainWnd == NULL)
        AfxPostQuitMessage(0);
    return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    return CWinThread::OnIdle(lCount);
}

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const
{
    return ::LoadIcon(AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON), lpszResourceName);
}

HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const
{
    return ::LoadCursor(AfxFindResourceHandle(lpszResourceName, RT_GROUP_CURSOR), lpszResourceName);
}

// ------------------------------------------------------------------ start-up

BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow)
{
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    pModuleState->m_hCurrentInstanceHandle = hInstance;
    if (pModuleState->m_hCurrentResourceHandle == NULL)
        pModuleState->m_hCurrentResourceHandle = hInstance;
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL) {
        pApp->m_hInstance = hInstance;
        pApp->m_lpCmdLine = lpCmdLine;
        pApp->m_nCmdShow = nCmdShow;
        pApp->SetCurrentHandles();
    }
    return TRUE;
}

void AFXAPI AfxWinTerm()
{
    AfxLockTempMaps();
    AfxUnlockTempMaps(TRUE);
}

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow)
{
    int nReturnCode = -1;
    CWinThread* pThread = AfxGetThread();
    CWinApp* pApp = AfxGetApp();
    if (pThread == NULL || pApp == NULL)
        return nReturnCode;

    if (!AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow) || !pApp->InitApplication()) {
        AfxWinTerm();
        return nReturnCode;
    }
    if (!pThread->InitInstance()) {
        if (pThread->m_pMainWnd != NULL)
            pThread->m_pMainWnd->DestroyWindow();
        nReturnCode = pThread->ExitInstance();
    } else {
        nReturnCode = pThread->Run();
    }
    AfxWinTerm();
    return nReturnCode;
}

// ------------------------------------------------------------------ profile

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey)
{
    AfxReplaceString(m_pszRegistryKey, lpszRegistryKey);
    // The values then live under the application's name instead of the INI file.
    AfxReplaceString(m_pszProfileName, m_pszAppName != NULL ? m_pszAppName : AfxGetAppName());
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString strKey;
    AfxLoadString(nIDRegistryKey, strKey);
    SetRegistryKey(strKey);
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (m_pszRegistryKey == NULL || m_pszProfileName == NULL)
        return NULL;
    HKEY hAppKey = NULL;
    HKEY hSoftKey = NULL;
    HKEY hCompanyKey = NULL;
    DWORD dw;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ | KEY_WRITE, &hSoftKey) == ERROR_SUCCESS) {
        if (::RegCreateKeyExA(hSoftKey, m_pszRegistryKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, NULL,
                              &hCompanyKey, &dw) == ERROR_SUCCESS) {
            ::RegCreateKeyExA(hCompanyKey, m_pszProfileName, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                              NULL, &hAppKey, &dw);
            ::RegCloseKey(hCompanyKey);
        }
        ::RegCloseKey(hSoftKey);
    }
    return hAppKey;
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection)
{
    if (lpszSection == NULL)
        return NULL;
    if (m_pszRegistryKey == NULL || m_pszProfileName == NULL)
        return NULL;
    // One call makes whatever is missing of the path: every value read at
    // start-up would otherwise open and close its four keys one by one.
    CString strPath("Software");
    for (LPCTSTR pszPart : {m_pszRegistryKey, m_pszProfileName, lpszSection}) {
        // An empty name stands for the key above it.
        if (pszPart[0] != 0)
            strPath += CString("\\") + pszPart;
    }
    HKEY hSectionKey = NULL;
    DWORD dw;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, strPath, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, NULL,
                          &hSectionKey, &dw) != ERROR_SUCCESS)
        return NULL;
    return hSectionKey;
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    if (m_pszRegistryKey == NULL)
        return ::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return (UINT)nDefault;
    DWORD dwValue = 0;
    DWORD dwType = 0;
    DWORD dwCount = sizeof(DWORD);
    LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, (LPBYTE)&dwValue, &dwCount);
    ::RegCloseKey(hSecKey);
    if (lResult == ERROR_SUCCESS && dwType == REG_DWORD && dwCount == sizeof(DWORD))
        return (UINT)dwValue;
    return (UINT)nDefault;
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    if (m_pszRegistryKey == NULL) {
        char sz[16];
        wsprintfA(sz, "%d", nValue);
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, sz, m_pszProfileName);
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return FALSE;
    DWORD dwValue = (DWORD)nValue;
    LONG lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_DWORD, (const BYTE*)&dwValue, sizeof(dwValue));
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    CString strDefault(lpszDefault != NULL ? lpszDefault : "");
    if (m_pszRegistryKey == NULL) {
        for (DWORD nSize = 256;; nSize *= 2) {
            CString strValue;
            DWORD nGot = ::GetPrivateProfileStringA(lpszSection, lpszEntry, strDefault, strValue.GetBuffer((int)nSize),
                                                    nSize, m_pszProfileName);
            strValue.ReleaseBuffer();
            if (nGot < nSize - 2 || nSize >= 1024 * 1024)
                return strValue;
        }
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return strDefault;
    CString strValue;
    DWORD dwType = 0;
    DWORD dwCount = 0;
    LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, NULL, &dwCount);
    if (lResult == ERROR_SUCCESS && (dwType == REG_SZ || dwType == REG_EXPAND_SZ)) {
        LPSTR pBuf = strValue.GetBuffer((int)dwCount);
        lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, (LPBYTE)pBuf, &dwCount);
        // The stored text need not end in a terminator.
        strValue.ReleaseBuffer(lResult == ERROR_SUCCESS ? (int)strnlen(pBuf, dwCount) : 0);
    } else {
        lResult = ERROR_FILE_NOT_FOUND;
    }
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS ? strValue : strDefault;
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    if (m_pszRegistryKey == NULL)
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
    LONG lResult;
    if (lpszEntry == NULL) {
        // The whole section goes.
        HKEY hAppKey = GetAppRegistryKey();
        if (hAppKey == NULL)
            return FALSE;
        lResult = ::RegDeleteTreeA(hAppKey, lpszSection);
        ::RegCloseKey(hAppKey);
        return lResult == ERROR_SUCCESS || lResult == ERROR_FILE_NOT_FOUND;
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return FALSE;
    if (lpszValue == NULL) {
        lResult = ::RegDeleteValueA(hSecKey, lpszEntry);
        if (lResult == ERROR_FILE_NOT_FOUND)
            lResult = ERROR_SUCCESS;
    } else {
        lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue, (DWORD)strlen(lpszValue) + 1);
    }
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes)
{
    if (ppData == NULL || pBytes == NULL)
        return FALSE;
    *ppData = NULL;
    *pBytes = 0;
    if (m_pszRegistryKey == NULL) {
        // The INI form: two letters 'A'..'P' per byte, low nibble first.
        CString str = GetProfileString(lpszSection, lpszEntry, NULL);
        int nLen = str.GetLength();
        if (nLen == 0 || (nLen % 2) != 0)
            return FALSE;
        LPBYTE pData = new BYTE[nLen / 2];
        for (int i = 0; i < nLen; i += 2) {
            int lo = str[i] - 'A';
            int hi = str[i + 1] - 'A';
            if (lo < 0 || lo > 15 || hi < 0 || hi > 15) {
                delete[] pData;
                return FALSE;
            }
            pData[i / 2] = (BYTE)((hi << 4) | lo);
        }
        *ppData = pData;
        *pBytes = (UINT)(nLen / 2);
        return TRUE;
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return FALSE;
    DWORD dwType = 0;
    DWORD dwCount = 0;
    LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, NULL, &dwCount);
    if (lResult == ERROR_SUCCESS && dwType == REG_BINARY) {
        LPBYTE pData = new BYTE[dwCount > 0 ? dwCount : 1];
        DWORD dwRead = dwCount;
        lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, pData, &dwRead);
        if (lResult == ERROR_SUCCESS && dwType == REG_BINARY && dwRead <= dwCount) {
            *ppData = pData;
            *pBytes = (UINT)dwRead;
        } else {
            delete[] pData;
            lResult = ERROR_INVALID_DATA;
        }
    } else if (lResult == ERROR_SUCCESS) {
        lResult = ERROR_INVALID_DATA;
    }
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes)
{
    if (m_pszRegistryKey == NULL) {
        CString str;
        LPSTR psz = str.GetBuffer((int)nBytes * 2);
        for (UINT i = 0; i < nBytes; i++) {
            psz[i * 2] = (char)((pData[i] & 0x0F) + 'A');
            psz[i * 2 + 1] = (char)(((pData[i] >> 4) & 0x0F) + 'A');
        }
        str.ReleaseBuffer((int)nBytes * 2);
        return WriteProfileString(lpszSection, lpszEntry, str);
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return FALSE;
    LONG lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

// ------------------------------------------------------------------ message boxes

int AfxShowMessageBox(HWND hWndOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType, UINT nIDHelp)
{
    AFX_MODAL_REQUEST request;
    request.nKind = afxModalMessageBox;
    request.strText = lpszText != NULL ? lpszText : "";
    request.strCaption = lpszCaption != NULL ? lpszCaption : "";
    request.nType = nType;
    request.nIDHelp = nIDHelp;
    request.hWndOwner = hWndOwner;
    INT_PTR nResult = 0;
    if (AfxModalRespond(request, nResult))
        return (int)nResult;
    return ::MessageBox(hWndOwner, lpszText, lpszCaption, nType);
}

// The class library's box: owned by the main window's last pop-up, captioned
// with the application's name, with an icon chosen from the buttons.
static int AfxDefaultMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt)
{
    HWND hWndTop = NULL;
    HWND hWnd = CWnd::GetSafeOwner_(NULL, &hWndTop);
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL: nType |= MB_ICONEXCLAMATION; break;
        case MB_YESNO:
        case MB_YESNOCANCEL: nType |= MB_ICONQUESTION; break;
        }
    }
    int nResult = AfxShowMessageBox(hWnd, lpszPrompt, AfxGetAppName(), nType, nIDPrompt);
    if (hWndTop != NULL)
        ::EnableWindow(hWndTop, TRUE);
    return nResult;
}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt)
{
    return AfxDefaultMessageBox(lpszPrompt, nType, nIDPrompt);
}

int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    return AfxDefaultMessageBox(lpszText, nType, nIDHelp);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString strPrompt;
    AfxLoadString(nIDPrompt, strPrompt);
    if (nIDHelp == (UINT)-1)
        nIDHelp = nIDPrompt;
    return AfxMessageBox(strPrompt, nType, nIDHelp);
}

// ------------------------------------------------------------------ window classes and system set-up

BOOL AFXAPI AfxRegisterClass(WNDCLASS* lpWndClass)
{
    WNDCLASS wndcls;
    if (::GetClassInfo(lpWndClass->hInstance, lpWndClass->lpszClassName, &wndcls))
        return TRUE;
    if (::RegisterClass(lpWndClass) != 0)
        return TRUE;
    // Another thread may have registered it in between.
    return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    LPSTR lpszName = AfxGetThreadState()->m_szClassName;
    const size_t nMax = sizeof(AfxGetThreadState()->m_szClassName);
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (hCursor == NULL && hbrBackground == NULL && hIcon == NULL)
        snprintf(lpszName, nMax, "Afx:%p:%x", (void*)hInst, nClassStyle);
    else
        snprintf(lpszName, nMax, "Afx:%p:%x:%p:%p:%p", (void*)hInst, nClassStyle, (void*)hCursor, (void*)hbrBackground,
                 (void*)hIcon);
    lpszName[nMax - 1] = '\0';

    WNDCLASS wndcls = {};
    if (::GetClassInfo(hInst, lpszName, &wndcls))
        return lpszName;
    wndcls.style = nClassStyle;
    wndcls.lpfnWndProc = ::DefWindowProc;
    wndcls.hInstance = hInst;
    wndcls.hIcon = hIcon;
    wndcls.hCursor = hCursor;
    wndcls.hbrBackground = hbrBackground;
    wndcls.lpszClassName = lpszName;
    if (!AfxRegisterClass(&wndcls))
        AfxThrowResourceException();
    return lpszName;
}

BOOL AFXAPI AfxOleInit()
{
    HRESULT hr = ::OleInitialize(NULL);
    return SUCCEEDED(hr);
}

BOOL AFXAPI AfxInitRichEdit2()
{
    static HMODULE s_hRichEdit20 = ::LoadLibraryA("riched20.dll");
    return s_hRichEdit20 != NULL;
}

BOOL AFXAPI AfxInitRichEdit()
{
    return AfxInitRichEdit2();
}

void AFXAPI AfxEnableControlContainer()
{
    // Controls are hosted by the programs themselves; nothing to set up.
}

BOOL AFXAPI AfxIsValidAddress(const void* lp, UINT_PTR nBytes, BOOL bReadWrite)
{
    return lp != NULL || nBytes == 0;
}

BOOL AFXAPI AfxIsValidString(LPCSTR lpsz, int nLength)
{
    return lpsz != NULL;
}
