// The user-service program's application object.
#pragma once

#include <afxwin.h>

#include "QuillonCrash.h"
#include "SkinRecordFile.h"

class CQuillonApp : public CWinApp
{
public:
    CQuillonApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) override;

private:
    void OpenFaceCache();

    HANDLE m_hInstanceMutex;
    CSkinRecordFile m_SkinRecordFile;
};
