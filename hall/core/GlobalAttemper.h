// The second global object of the hall: the game download window (the one
// installed, HallWindows.h) and the room titles built from the displayed game
// tree. One object, g_GlobalAttemper, lives for the whole process.
#pragma once

#include <afxwin.h>

#include "IDownLoadService.h"

class CGameTreeNode;

class CGlobalAttemper
{
public:
    CGlobalAttemper();
    virtual ~CGlobalAttemper();

    // Hands a download to the download service and shows the download
    // window (its window made on first use). addresses: ten addresses of 260
    // characters. mode 0 asks for a game, any other mode for the hall
    // itself. False when the service or the window is missing.
    bool StartGameDownload(LPCSTR gameName, BYTE flag, const char addresses[10][260], int mode);
    // The server tree's form of the same call: the hall flag picks the mode.
    bool StartDownLoad(LPCSTR gameName, DWORD unused, BYTE flag, const char addresses[10][260], DWORD hallFlag);
    bool CloseDownloadWindow();

    // The task record a download is handed over with; false when the
    // download folder does not fit its field.
    static bool BuildDownloadTask(tagDownLoadTask& task, LPCSTR gameName, BYTE flag, const char addresses[10][260]);

    // "outer station <separator> inner station" of a room node; the room's
    // name (its caption, or the room item's name) goes to roomName. Empty
    // for a null node or a room not in the game tree.
    CString BuildRoomTitle(CGameTreeNode* node, LPCSTR separator, CString& roomName);

private:
    CGlobalAttemper(const CGlobalAttemper&) = delete;
    CGlobalAttemper& operator=(const CGlobalAttemper&) = delete;

    CString m_strTitle;
};

extern CGlobalAttemper g_GlobalAttemper;
