#include "GameClientRecorder.h"

#include <string.h>

#include "ChannelMessageSink.h"
#include "GameChannelRecords.h"
#include "GameClientControl.h"

CGameClientRecorder::CGameClientRecorder()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "GameClientRecorder";
    RegisterClassA(&wc);
    // A top-level window: the room's channel window sends to it as to a client.
    m_hWnd = CreateWindowA("GameClientRecorder", "", WS_POPUP, 0, 0, 0, 0, NULL, NULL, wc.hInstance, this);
}

CGameClientRecorder::~CGameClientRecorder()
{
    DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CGameClientRecorder::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE) {
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, LONG_PTR(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        return TRUE;
    }
    CGameClientRecorder* self = reinterpret_cast<CGameClientRecorder*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (uMsg != WM_COPYDATA || self == NULL)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    const COPYDATASTRUCT* pCopy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    const BYTE* pBytes = static_cast<const BYTE*>(pCopy->lpData);
    if (pCopy->dwData == IPC_IDENTIFIER || pCopy->dwData == GAMECLIENT_REPORT_FRAME) {
        self->OnFrame(pBytes, pCopy->cbData);
    } else if (pCopy->dwData == GAMECLIENT_REPORT_START && pCopy->cbData > sizeof(tagGameClientStart)) {
        tagGameClientStart start;
        memcpy(&start, pBytes, sizeof(start));
        const char* pszCommandLine = reinterpret_cast<const char*>(pBytes + sizeof(start));
        size_t nLength = strnlen(pszCommandLine, pCopy->cbData - sizeof(start));
        self->Starts.push_back({HWND(ULongToHandle(start.dwWindow)), HWND(ULongToHandle(start.dwChild)),
                                std::string(pszCommandLine, nLength)});
    }
    return TRUE;
}

void CGameClientRecorder::OnFrame(const BYTE* pFrame, size_t nSize)
{
    tagIPCHead head;
    if (nSize < sizeof(head))
        return;
    memcpy(&head, pFrame, sizeof(head));
    tagToClient sent = {"channel", head.wMainCmdID, head.wSubCmdID, {}, 0, ""};
    sent.Data.assign(pFrame + sizeof(head), pFrame + nSize);
    Sent.push_back(sent);
}

std::vector<tagToClient> CGameClientRecorder::Of(const std::string& strKind, WORD wSubCmdID) const
{
    std::vector<tagToClient> result;
    for (const tagToClient& sent : Sent) {
        tagToClient view = sent;
        tagGameRelayHead relay = {0, 0};
        bool bProtocol = sent.wMainCmdID == GAME_MAIN_RELAY && sent.wSubCmdID == GAME_SUB_TRAFFIC &&
                         sent.Data.size() >= sizeof(relay);
        if (bProtocol) {
            memcpy(&relay, sent.Data.data(), sizeof(relay));
            bProtocol = relay.wKind == GAME_KIND_CONTROL;
        }
        if (strKind == "channel") {
            if (sent.wSubCmdID != wSubCmdID)
                continue;
        } else if (strKind == "user") {
            if (sent.wMainCmdID != GAME_MAIN_USER || sent.wSubCmdID != GAME_SUB_USER || sent.Data.size() < 4)
                continue;
            memcpy(&view.dwUserID, sent.Data.data(), 4);
        } else {
            WORD wWanted = strKind == "text" ? 300 : strKind == "match" ? GAME_SUB_MATCH_DESCRIPTION : wSubCmdID;
            if (!bProtocol || relay.wSubCmdID != wWanted)
                continue;
            view.wSubCmdID = relay.wSubCmdID;
            view.Data.erase(view.Data.begin(), view.Data.begin() + sizeof(relay));
            if (strKind == "text" && view.Data.size() >= 4) {
                WORD wLength = 0;
                memcpy(&wLength, view.Data.data() + 2, 2);
                size_t nLength = wLength < view.Data.size() - 4 ? wLength : view.Data.size() - 4;
                view.strText.assign(reinterpret_cast<const char*>(view.Data.data()) + 4, nLength);
            }
        }
        result.push_back(view);
    }
    return result;
}

std::string CGameClientRecorder::Keys() const
{
    std::string keys;
    for (const tagToClient& sent : Sent) {
        tagGameRelayHead relay = {0, 0};
        if (sent.wMainCmdID == GAME_MAIN_RELAY && sent.Data.size() >= sizeof(relay)) {
            memcpy(&relay, sent.Data.data(), sizeof(relay));
            keys += (relay.wKind == GAME_KIND_CONTROL ? "p" : "g") + std::to_string(relay.wSubCmdID) + " ";
            continue;
        }
        keys += std::to_string(sent.wMainCmdID) + "/" + std::to_string(sent.wSubCmdID) + " ";
    }
    if (!keys.empty())
        keys.pop_back();
    return keys;
}
