#include "QuillonApp.h"

#include <commctrl.h>

#include "QuillonDlg.h"
#include "ServiceGlobalUnits.h"
#include "SkinAttribute.h"

CQuillonApp::CQuillonApp() : CWinApp("Quillon"), m_hInstanceMutex(NULL) {}

BOOL CQuillonApp::InitInstance()
{
    CWinApp::InitInstance();
    INITCOMMONCONTROLSEX controls = {sizeof(controls), 0xFF};
    InitCommonControlsEx(&controls);
    AfxEnableControlContainer();

    // One user service at a time: a second one ends without a word.
    m_hInstanceMutex = CreateMutexA(NULL, FALSE, "VarnokCardQuillon");
    if (m_hInstanceMutex == NULL || WaitForSingleObject(m_hInstanceMutex, 0) != WAIT_OBJECT_0)
        return FALSE;
    SetRegistryKey("VarnokCardQuillon");

    char szFolder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof(szFolder), szFolder);
    CString strSkin;
    strSkin.Format("%s\\Res\\", szFolder);
    m_SkinRecordFile.InitSkinRecordFile(NULL, strSkin);
    IUnknownEx* pSkin = NULL;
    if (SUCCEEDED(m_SkinRecordFile.QueryInterface(IID_ISkinRecord, reinterpret_cast<void**>(&pSkin))) &&
        pSkin != NULL) {
        CSkinAttribute::LoadSkinAttribute(pSkin);
        pSkin->Release();
    }

    // The picture modules; a page draws without the one that is missing.
    g_ServiceUnits.m_UserFaceModule.CreateInstance();
    if (g_ServiceUnits.m_CustomFaceModule.CreateInstance())
        OpenFaceCache();
    g_ServiceUnits.m_AvatarModule.CreateInstance();

    CQuillonDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = NULL;
    return FALSE;
}

// The custom-face cache the hall reads: a face stored here reaches the hall
// through this file alone, so it is the hall's, beside the program.
void CQuillonApp::OpenFaceCache()
{
    char szModule[MAX_PATH] = "";
    GetModuleFileNameA(NULL, szModule, sizeof(szModule));
    CString strFolder(szModule);
    strFolder = strFolder.Left(strFolder.ReverseFind('\\') + 1);
    CreateDirectoryA(strFolder + "Config", NULL);
    CreateDirectoryA(strFolder + "Config\\Users\\", NULL);
    if (ICustomFaceRes* pFaces = g_ServiceUnits.m_CustomFaceModule.GetInterface())
        pFaces->OpenDatabase(strFolder + "Config\\Users\\CUSTOM_FACE_FILE.db");
}

int CQuillonApp::ExitInstance()
{
    if (m_hInstanceMutex != NULL) {
        ReleaseMutex(m_hInstanceMutex);
        CloseHandle(m_hInstanceMutex);
        m_hInstanceMutex = NULL;
    }
    return CWinApp::ExitInstance();
}

int CQuillonApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT)
{
    CWnd* pMain = m_pMainWnd;
    return ServiceMessageBox(pMain != NULL ? pMain->GetSafeHwnd() : NULL, lpszPrompt, nType);
}
