// What the global units ask of the hall's windows.
#include "GlobalUnits.h"

#include "room/RoomControlWnd.h"
#include "room/RoomViewItem.h"
#include "windows/GameFrame.h"

bool CGlobalUnits::OpenUserUrl(LPCSTR url, bool inPlaza)
{
    CString address = AppendUserKey(url);
    if (inPlaza) {
        if (g_pRoomControlWnd != NULL)
            g_pRoomControlWnd->ShowWebPage(address, 0);
    } else {
        OpenUrlInBrowser(address, SW_SHOWNORMAL);
    }
    return true;
}

CCustomFaceManagerWnd* CGlobalUnits::GetCustomFaceManager()
{
    CGameFrame* frame = dynamic_cast<CGameFrame*>(AfxGetMainWnd());
    return frame != NULL ? frame->GetCustomFaceManager() : NULL;
}

bool CGlobalUnits::HideRoomControls(CRoomViewItem* view)
{
    if (view == NULL)
        return false;
    view->BeginWaitStatus();
    return true;
}

bool CGlobalUnits::RestoreRoomControls(CRoomViewItem* view)
{
    if (view == NULL)
        return false;
    view->EndWaitStatus();
    return true;
}
