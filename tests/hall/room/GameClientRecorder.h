// The game client's end of the channel as a test sees it: a window that
// records every frame the room sends it, whether it plays the client's
// window itself or hears the stand-in game client's reports of what reached
// it. Views of the frames by kind: "channel" (main, sub as sent),
// "protocol" (kind-101 game subs, the body without its head), "user" (3/1
// with its user id), "text" (game sub 300 with its text) and "match" (801).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct tagToClient
{
    std::string strKind;
    WORD wMainCmdID;
    WORD wSubCmdID;
    std::vector<BYTE> Data;
    DWORD dwUserID;
    std::string strText;
};

struct tagClientStart
{
    HWND hWnd;
    HWND hChild;
    std::string strCommandLine;
};

class CGameClientRecorder
{
public:
    CGameClientRecorder();
    ~CGameClientRecorder();
    HWND GetHwnd() const { return m_hWnd; }

    // Every frame, as sent.
    std::vector<tagToClient> Sent;
    // Start reports of stand-in clients, in order.
    std::vector<tagClientStart> Starts;

    std::vector<tagToClient> Of(const std::string& strKind, WORD wSubCmdID) const;
    // "main/sub" of each frame, kind-101 frames as "p<game sub>", kind-100 as "g<sub>".
    std::string Keys() const;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnFrame(const BYTE* pFrame, size_t nSize);
    HWND m_hWnd;
};
