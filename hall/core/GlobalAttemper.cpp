#include "GlobalAttemper.h"

#include <string.h>

#include "GameTreeManager.h"
#include "GameTreeNode.h"
#include "GlobalUnits.h"
#include "HallWindows.h"
#include "TextUnit.h"

CGlobalAttemper g_GlobalAttemper;

CGlobalAttemper::CGlobalAttemper() {}

CGlobalAttemper::~CGlobalAttemper() {}

bool CGlobalAttemper::BuildDownloadTask(tagDownLoadTask& task, LPCSTR gameName, BYTE flag,
                                        const char addresses[10][260])
{
    memset(&task, 0, sizeof(task));
    task.cbFlag = flag;
    TextCopyField(task.szName, gameName);
    CString folder;
    folder.Format("%sDownLoad", g_GlobalUnits.GetWorkDirectory());
    if (addresses != NULL)
        memcpy(task.szUrls, addresses, sizeof(task.szUrls));
    return TextCopyPath(task.szFolder, folder);
}

bool CGlobalAttemper::StartGameDownload(LPCSTR gameName, BYTE flag, const char addresses[10][260], int mode)
{
    IDownLoadService* service = g_GlobalUnits.m_DownLoadServiceHelper.GetInterface();
    if (service == NULL)
        return false;

    tagDownLoadTask task;
    if (!BuildDownloadTask(task, gameName, flag, addresses))
        return false;

    IDownLoadWnd* window = CHallWindows::GetDownLoadWnd();
    if (window == NULL)
        return false;
    if (window->GetDownLoadWindow() == NULL)
        window->CreateDownLoadWindow(AfxGetMainWnd());
    HWND hWindow = window->GetDownLoadWindow();
    if (hWindow == NULL)
        return false;
    service->SetNotifyWindow(hWindow);
    ::ShowWindow(hWindow, SW_SHOW);
    return service->AddMission(mode == 0 ? DOWNLOAD_KIND_GAME : DOWNLOAD_KIND_HALL, &task) != 0;
}

bool CGlobalAttemper::StartDownLoad(LPCSTR gameName, DWORD unused, BYTE flag, const char addresses[10][260],
                                    DWORD hallFlag)
{
    return StartGameDownload(gameName, flag, addresses, hallFlag != 0 ? 1 : 0);
}

bool CGlobalAttemper::CloseDownloadWindow()
{
    IDownLoadWnd* window = CHallWindows::GetDownLoadWnd();
    if (window != NULL && window->GetDownLoadWindow() != NULL)
        window->CloseDownLoadWindow();
    return true;
}

CString CGlobalAttemper::BuildRoomTitle(CGameTreeNode* node, LPCSTR separator, CString& roomName)
{
    m_strTitle.Empty();
    CGameTreeManager* manager = g_GlobalUnits.GetGameTreeManager();
    if (node == NULL || manager == NULL)
        return CString();

    for (; node != NULL && node->GetItemType() != TREE_ITEM_GAME && node->GetItemData() != 0;
         node = node->GetParent()) {
        if (node->GetItemType() == TREE_ITEM_ROOM) {
            CGameRoom* room = manager->FindGameRoom(node->GetItemData());
            if (room == NULL)
                return CString();
            roomName = node->GetText().IsEmpty() ? room->GetName() : node->GetText();
            m_strTitle.Empty();
        } else if (node->GetItemType() == TREE_ITEM_STATION) {
            CGameStation* station = manager->FindGameStation(node->GetItemData());
            if (station == NULL)
                continue;
            CString name = node->GetText().IsEmpty() ? station->GetName() : node->GetText();
            if (m_strTitle.IsEmpty())
                m_strTitle = name;
            else if (name.IsEmpty())
                m_strTitle.Empty();
            else
                m_strTitle.Format("%s %s %s", (LPCSTR)name, separator != NULL ? separator : "",
                                  (LPCSTR)CString(m_strTitle));
        } else {
            break;
        }
    }
    return m_strTitle;
}
