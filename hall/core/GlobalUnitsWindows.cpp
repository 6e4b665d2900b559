// What the global units ask of the hall's windows, through the interfaces
// the windows install (HallWindows.h).
#include "GlobalUnits.h"
#include "HallWindows.h"

bool CGlobalUnits::OpenUserUrl(LPCSTR url, bool inPlaza)
{
    CString address = AppendUserKey(url);
    if (inPlaza) {
        IRoomTabWnd* roomTabs = CHallWindows::GetRoomTabs();
        if (roomTabs != NULL)
            roomTabs->ShowWebPage(address, 0);
    } else {
        OpenUrlInBrowser(address, SW_SHOWNORMAL);
    }
    return true;
}

CCustomFaceManagerWnd* CGlobalUnits::GetCustomFaceManager()
{
    IHallFrameWnd* frame = CHallWindows::GetFrame();
    return frame != NULL ? frame->GetCustomFaceManager() : NULL;
}

bool CGlobalUnits::HideRoomControls(IRoomWaitView* view)
{
    if (view == NULL)
        return false;
    view->BeginWaitStatus();
    return true;
}

bool CGlobalUnits::RestoreRoomControls(IRoomWaitView* view)
{
    if (view == NULL)
        return false;
    view->EndWaitStatus();
    return true;
}
