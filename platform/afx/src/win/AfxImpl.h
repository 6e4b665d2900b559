// Private state of the Windows part of the class library.
#pragma once

#include <afxwin.h>
#include <afxtest.h>

#include <unordered_map>

// The kinds of handle maps; each thread has its own temporary objects.
enum AfxHandleKind
{
    afxMapHWND,
    afxMapHDC,
    afxMapHGDIOBJ,
    afxMapHMENU,
    afxMapHIMAGELIST,
    afxMapCount
};

class CToolTipCtrl;

struct AFX_THREAD_STATE
{
    CWinThread* m_pCurrentWinThread = nullptr;
    CWnd* m_pWndInit = nullptr; // the object the next created window is attached to
    HHOOK m_hHookCbt = nullptr;
    MSG m_lastSentMsg = {}; // the message being handled (Default, GetCurrentMessage)
    MSG m_msgCur = {};      // the message of the message loop
    int m_nTempMapLock = 0;
    HMENU m_hTrackingMenu = nullptr;       // the pop-up menu being tracked (owner-drawn items)
    HWND m_hLockoutNotifyWindow = nullptr; // control notifications to it are ignored (UpdateData)
    char m_szClassName[128] = {};          // AfxRegisterWndClass's result
    POINT m_ptCursorLast = {-1, -1};       // the last mouse move seen by the idle test
    UINT m_nMsgLast = 0;
    std::unordered_map<void*, CObject*> m_temp[afxMapCount];
    // Tool tips of CWnd::EnableToolTips: one tip control per thread, owned
    // by the top-level window it serves, with the tool last registered.
    BOOL m_bToolTipsEnabled = FALSE;
    CToolTipCtrl* m_pToolTip = nullptr;
    CWnd* m_pLastHit = nullptr;
    INT_PTR m_nLastHit = -1;
    BOOL m_bLastInfo = FALSE;
    TOOLINFO m_lastInfo = {};
};

// TRUE while a test has put the mouse somewhere (AfxSetTestCursorPos).
BOOL AfxHasTestCursorPos();

// Forgets a window going away as the last tool tip hit.
void AfxToolTipWindowGone(CWnd* pWnd);
// Destroys the thread's tip control (thread end).
void AfxTermToolTips(AFX_THREAD_STATE* pState);

// The calling thread's state, made on first use and freed when the thread ends.
AFX_THREAD_STATE* AfxGetThreadState();
// Frees the calling thread's temporary objects and state (thread end).
void AfxTermThreadState();

// A handle map: the permanent part is shared by every thread of the process,
// the temporary part belongs to the thread that made the object.
class CAfxHandleMap
{
public:
    typedef CObject* (*PFNNEWTEMP)(void* h);
    typedef void (*PFNCLEARTEMP)(CObject* p);

    CAfxHandleMap(AfxHandleKind kind, PFNNEWTEMP pfnNew, PFNCLEARTEMP pfnClear)
        : m_kind(kind), m_pfnNew(pfnNew), m_pfnClear(pfnClear)
    {
        InitializeSRWLock(&m_lock);
    }

    CObject* FromHandle(void* h);
    CObject* LookupPermanent(void* h);
    CObject* LookupTemporary(void* h);
    void SetPermanent(void* h, CObject* p);
    // Removes h only while it still maps to p (a second object attached to
    // the same handle keeps its entry).
    void RemoveHandle(void* h, CObject* p);
    void DeleteTemp(AFX_THREAD_STATE* pState);

private:
    AfxHandleKind m_kind;
    PFNNEWTEMP m_pfnNew;
    PFNCLEARTEMP m_pfnClear;
    SRWLOCK m_lock;
    std::unordered_map<void*, CObject*> m_permanent;
};

CAfxHandleMap* AfxMapHWND();
CAfxHandleMap* AfxMapHDC();
CAfxHandleMap* AfxMapHGDIOBJ();
CAfxHandleMap* AfxMapHMENU();
CAfxHandleMap* AfxMapHIMAGELIST();

// Process-wide state of the library.
struct AFX_MODULE_STATE
{
    CWinApp* m_pCurrentWinApp = nullptr;
    HINSTANCE m_hCurrentInstanceHandle = nullptr;
    HINSTANCE m_hCurrentResourceHandle = nullptr;
};
AFX_MODULE_STATE* AfxGetModuleState();

// The module handle of afx.dll itself.
HINSTANCE AfxGetLibraryHandle();

// The message box every library path shows: offered to the modal responder
// first, then shown with ::MessageBox.
int AfxShowMessageBox(HWND hWndOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType, UINT nIDHelp);
// Offers a live modal window (a dialog in its modal loop) to the responder.
void AfxRespondModalWindow(CWnd* pWnd);
