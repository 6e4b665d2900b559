// A module of its own (a DLL loaded by the test), linked to the class
// library as every module of the program is: it must see the program's
// application object, handle map and modal responder.
#include <afxwin.h>

namespace
{

class CModuleWnd : public CWnd
{
protected:
    afx_msg LRESULT OnAsk(WPARAM wParam, LPARAM) { return (LRESULT)wParam * 2; }
    void PostNcDestroy() override { delete this; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CModuleWnd, CWnd)
    ON_MESSAGE(WM_USER + 30, OnAsk)
END_MESSAGE_MAP()

} // namespace

extern "C" CWnd* AfxTestModuleLookup(HWND hWnd)
{
    return CWnd::FromHandlePermanent(hWnd);
}

extern "C" CWinApp* AfxTestModuleApp()
{
    return AfxGetApp();
}

extern "C" int AfxTestModuleMessageBox(LPCSTR pszText)
{
    return AfxMessageBox(pszText, MB_OK);
}

// A child window whose object and message map live in this module.
extern "C" HWND AfxTestModuleCreateChild(CWnd* pParent)
{
    CModuleWnd* pWnd = new CModuleWnd;
    if (!pWnd->Create(NULL, "", WS_VISIBLE, CRect(0, 0, 10, 10), pParent, 40))
        return NULL;
    return pWnd->m_hWnd;
}
