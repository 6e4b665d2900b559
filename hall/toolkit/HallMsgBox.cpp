#include "HallMsgBox.h"

#include "SkinDialogTemplate.h"

#include <afxtest.h>
#include <stdio.h>
#include <string.h>

#include <string>

MsgBoxParams::MsgBoxParams()
{
    memset(this, 0, sizeof(*this));
    textColour = 0xFFFFFFFF;
    backgroundColour = 0xFFFFFFFF;
    linkedText = "";
}

BOOL StripMsgBoxLinks(char* pszText)
{
    BOOL bStripped = FALSE;
    char* pFrom = pszText;
    for (;;) {
        char* pOpen = strstr(pFrom, "<a");
        if (pOpen == NULL)
            pOpen = strstr(pFrom, "<A");
        // Take the earlier of the two spellings.
        char* pOther = strstr(pFrom, pOpen != NULL && pOpen[1] == 'a' ? "<A" : "<a");
        if (pOther != NULL && (pOpen == NULL || pOther < pOpen))
            pOpen = pOther;
        if (pOpen == NULL)
            break;
        // The closing tag after the opening one, the label after its ">".
        char* pClose = strstr(pOpen, "</a>");
        char* pCloseUpper = strstr(pOpen, "</A>");
        if (pCloseUpper != NULL && (pClose == NULL || pCloseUpper < pClose))
            pClose = pCloseUpper;
        char* pLabel = strchr(pOpen, '>');
        if (pClose == NULL || pLabel == NULL || pLabel > pClose)
            break;
        ++pLabel;
        size_t nLabel = (size_t)(pClose - pLabel);
        memmove(pOpen, pLabel, nLabel);
        memmove(pOpen + nLabel, pClose + 4, strlen(pClose + 4) + 1);
        pFrom = pOpen + nLabel;
        bStripped = TRUE;
    }
    return bStripped;
}

CHAR* MsgBoxAnswerKeyPath(LPCSTR lpszCompany, char* pszPath, size_t cchPath)
{
    char szModule[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(NULL, szModule, MAX_PATH);
    szModule[n < MAX_PATH ? n : MAX_PATH - 1] = 0;
    const char* pName = strrchr(szModule, '\\');
    pName = pName != NULL ? pName + 1 : szModule;
    if (lpszCompany != NULL && lpszCompany[0] != 0)
        snprintf(pszPath, cchPath, "Software\\%s\\%s\\HallMsgBox", lpszCompany, pName);
    else
        snprintf(pszPath, cchPath, "Software\\%s\\HallMsgBox", pName);
    return pszPath;
}

void MsgBoxAnswerValueName(LPCSTR lpszAnswerKey, int nNumber, char* pszName, size_t cchName)
{
    static const char kTable[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz98";
    std::string name;
    for (int i = 0; lpszAnswerKey != NULL && lpszAnswerKey[i] != 0 && i < 490; ++i) {
        int c = (signed char)lpszAnswerKey[i];
        name += kTable[(i * 5 + c) & 63];
    }
    name += std::to_string(nNumber);
    lstrcpynA(pszName, name.c_str(), (int)cchName);
}

DWORD ReadMsgBoxAnswer(LPCSTR lpszCompany, LPCSTR lpszAnswerKey, int nNumber)
{
    if (lpszAnswerKey == NULL || lpszAnswerKey[0] == 0)
        return 0;
    char szPath[MAX_PATH * 2];
    char szName[512];
    MsgBoxAnswerKeyPath(lpszCompany, szPath, sizeof(szPath));
    MsgBoxAnswerValueName(lpszAnswerKey, nNumber, szName, sizeof(szName));
    HKEY hKey = NULL;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, szPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return 0;
    DWORD dwValue = 0, dwType = 0, cb = sizeof(dwValue);
    if (::RegQueryValueExA(hKey, szName, NULL, &dwType, (BYTE*)&dwValue, &cb) != ERROR_SUCCESS || dwType != REG_DWORD)
        dwValue = 0;
    ::RegCloseKey(hKey);
    return dwValue;
}

void WriteMsgBoxAnswer(LPCSTR lpszCompany, LPCSTR lpszAnswerKey, int nNumber, DWORD dwAnswer)
{
    if (lpszAnswerKey == NULL || lpszAnswerKey[0] == 0)
        return;
    char szPath[MAX_PATH * 2];
    char szName[512];
    MsgBoxAnswerKeyPath(lpszCompany, szPath, sizeof(szPath));
    MsgBoxAnswerValueName(lpszAnswerKey, nNumber, szName, sizeof(szName));
    HKEY hKey = NULL;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, szPath, 0, NULL, 0, KEY_WRITE, NULL, &hKey, NULL) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(hKey, szName, 0, REG_DWORD, (const BYTE*)&dwAnswer, sizeof(dwAnswer));
    ::RegCloseKey(hKey);
}

namespace
{
bool IsWindowsSixOrLater()
{
    OSVERSIONINFOA info;
    memset(&info, 0, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    BOOL bOk = ::GetVersionExA(&info);
#pragma GCC diagnostic pop
    return bOk && info.dwMajorVersion >= 6;
}
} // namespace

int HallMsgBox(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nStyle, const MsgBoxParams* pParams,
               const MsgBoxSkin* pSkin)
{
    if (lpszCaption == NULL)
        lpszCaption = "Error";
    if (lpszText == NULL)
        lpszText = "";

    // 1. The owner.
    if (hWndOwner == NULL) {
        HWND hActive = ::GetActiveWindow();
        if (hActive != NULL)
            hWndOwner = ::GetLastActivePopup(hActive);
    }

    // 2. A system-modal stop or warning stays the system's box.
    if ((nStyle & 0x10) && (nStyle & MB_SYSTEMMODAL)) {
        AFX_MODAL_REQUEST request;
        request.nKind = afxModalMessageBox;
        if (!IS_INTRESOURCE(lpszText))
            request.strText = lpszText;
        if (!IS_INTRESOURCE(lpszCaption))
            request.strCaption = lpszCaption;
        request.nType = nStyle;
        request.hWndOwner = hWndOwner;
        INT_PTR nAnswer = 0;
        if (AfxModalRespond(request, nAnswer))
            return (int)nAnswer;
        return ::MessageBoxA(hWndOwner, lpszText, lpszCaption, nStyle);
    }

    // 3. The parameters: the caller's block wins entirely.
    MsgBoxParams params;
    params.useCaptions = 1;
    lstrcpyA(params.captions[MSGBOX_OK], "确定");
    lstrcpyA(params.captions[MSGBOX_YES], "是");
    lstrcpyA(params.captions[MSGBOX_NO], "否");
    if (pParams != NULL)
        params = *pParams;

    // 4. The plain text without links; the linked text as given.
    std::string strPlain;
    std::string strLinked;
    LPCSTR lpszShown = lpszText;
    if (!IS_INTRESOURCE(lpszText)) {
        strLinked = lpszText;
        strPlain = lpszText;
        params.hasLinks = StripMsgBoxLinks(&strPlain[0]) ? 1 : 0;
        strPlain.resize(strlen(strPlain.c_str()));
        lpszShown = strPlain.c_str();
    }
    params.linkedText = strLinked.c_str();

    // 5. A remembered answer ends the call.
    if ((nStyle & XMB_CHECKBOXES) && params.answerKey != NULL && params.answerKey[0] != 0) {
        DWORD dwAnswer = ReadMsgBoxAnswer(params.companyName, params.answerKey, params.answerKeyNumber);
        if (dwAnswer & XMB_CHECKBOXES)
            return (int)dwAnswer;
    }

    {
        AFX_MODAL_REQUEST request;
        request.nKind = afxModalMessageBox;
        if (!IS_INTRESOURCE(lpszShown))
            request.strText = lpszShown;
        if (!IS_INTRESOURCE(lpszCaption))
            request.strCaption = lpszCaption;
        request.nType = nStyle;
        request.nIDHelp = params.helpId;
        request.strClassName = "HallMsgBox";
        request.hWndOwner = hWndOwner;
        INT_PTR nAnswer = 0;
        if (AfxModalRespond(request, nAnswer))
            return (int)nAnswer;
    }

    // 6. Long times were meant as a few seconds.
    if (params.timeoutSeconds >= 1000)
        params.timeoutSeconds = 10;
    if (params.disabledSeconds >= 1000)
        params.disabledSeconds = 10;

    // 7. The wide look on newer systems.
    if (IsWindowsSixOrLater())
        params.options |= MSGBOX_WIDELOOK;

    // 8. The box.
    CSkinDialogTemplate dlg(hWndOwner, lpszShown, lpszCaption, nStyle, &params, pSkin);
    if (!(nStyle & XMB_NOSOUND))
        ::MessageBeep(nStyle & MB_ICONMASK);
    return (int)dlg.Display();
}
