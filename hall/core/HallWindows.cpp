#include "HallWindows.h"

namespace
{
IHallFrameWnd* g_pFrame = NULL;
IRoomTabWnd* g_pRoomTabs = NULL;
IDownLoadWnd* g_pDownLoadWnd = NULL;
HWND g_hLogonWnd = NULL;

template <class I> I* Exchange(I*& slot, I* value)
{
    I* previous = slot;
    slot = value;
    return previous;
}
} // namespace

IHallFrameWnd* CHallWindows::InstallFrame(IHallFrameWnd* pFrame)
{
    return Exchange(g_pFrame, pFrame);
}

IRoomTabWnd* CHallWindows::InstallRoomTabs(IRoomTabWnd* pRoomTabs)
{
    return Exchange(g_pRoomTabs, pRoomTabs);
}

IDownLoadWnd* CHallWindows::InstallDownLoadWnd(IDownLoadWnd* pDownLoadWnd)
{
    return Exchange(g_pDownLoadWnd, pDownLoadWnd);
}

IHallFrameWnd* CHallWindows::GetFrame()
{
    return g_pFrame;
}

IRoomTabWnd* CHallWindows::GetRoomTabs()
{
    return g_pRoomTabs;
}

IDownLoadWnd* CHallWindows::GetDownLoadWnd()
{
    return g_pDownLoadWnd;
}

HWND CHallWindows::SetLogonWindow(HWND hLogonWnd)
{
    return Exchange(g_hLogonWnd, hLogonWnd);
}

HWND CHallWindows::GetLogonWindow()
{
    return g_hLogonWnd;
}
