#include "ScriptedServer.h"

CScriptedServer::CScriptedServer()
{
    SetFrameHandler([this](CFrameServer&, const tagServerFrame& frame) { OnRequest(frame); });
}

void CScriptedServer::On(WORD wMainCmdID, WORD wSubCmdID, const std::vector<tagAction>& actions, bool bOnce)
{
    std::lock_guard<std::mutex> lock(m_ScriptMutex);
    m_Scripts[std::make_pair(wMainCmdID, wSubCmdID)] = tagScript{actions, bOnce};
}

CScriptedServer::tagAction CScriptedServer::Reply(WORD wMainCmdID, WORD wSubCmdID, const std::vector<BYTE>& body)
{
    return tagAction{tagAction::FRAME, wMainCmdID, wSubCmdID, body, true, 0};
}

CScriptedServer::tagAction CScriptedServer::Push(WORD wMainCmdID, WORD wSubCmdID, const std::vector<BYTE>& body,
                                                 DWORD dwSerialNum)
{
    return tagAction{tagAction::FRAME, wMainCmdID, wSubCmdID, body, false, dwSerialNum};
}

CScriptedServer::tagAction CScriptedServer::Raw(const std::vector<BYTE>& bytes)
{
    return tagAction{tagAction::RAW, 0, 0, bytes, false, 0};
}

CScriptedServer::tagAction CScriptedServer::Close()
{
    return tagAction{tagAction::CLOSE, 0, 0, {}, false, 0};
}

CScriptedServer::tagAction CScriptedServer::Abort()
{
    return tagAction{tagAction::ABORT, 0, 0, {}, false, 0};
}

bool CScriptedServer::Run(const std::vector<tagAction>& actions, int nConnection, DWORD dwRequestSerial)
{
    if (nConnection < 0)
        nConnection = GetConnectionCount() - 1;
    bool ok = true;
    for (const tagAction& action : actions) {
        switch (action.nKind) {
        case tagAction::FRAME:
            ok = SendFrame(nConnection, action.bRequestSerial ? dwRequestSerial : action.dwSerialNum, action.wMainCmdID,
                           action.wSubCmdID, action.Data.empty() ? NULL : action.Data.data(), action.Data.size()) &&
                 ok;
            break;
        case tagAction::RAW: ok = SendRaw(nConnection, action.Data.data(), action.Data.size()) && ok; break;
        case tagAction::CLOSE: CFrameServer::Close(nConnection); break;
        case tagAction::ABORT: CFrameServer::Abort(nConnection); break;
        }
    }
    return ok;
}

bool CScriptedServer::Send(WORD wMainCmdID, WORD wSubCmdID, const std::vector<BYTE>& body, DWORD dwSerialNum)
{
    return Run({Push(wMainCmdID, wSubCmdID, body, dwSerialNum)});
}

std::vector<tagServerFrame> CScriptedServer::GetRequests(WORD wMainCmdID, WORD wSubCmdID)
{
    std::vector<tagServerFrame> result;
    for (const tagServerFrame& frame : GetFrames()) {
        if (frame.wMainCmdID == wMainCmdID && frame.wSubCmdID == wSubCmdID)
            result.push_back(frame);
    }
    return result;
}

void CScriptedServer::OnRequest(const tagServerFrame& frame)
{
    if (m_wEchoMain != 0 && frame.wMainCmdID == m_wEchoMain) {
        SendFrame(frame.nConnection, 0, frame.wMainCmdID, frame.wSubCmdID, frame.Body.data(), frame.Body.size());
        return;
    }
    std::vector<tagAction> actions;
    {
        std::lock_guard<std::mutex> lock(m_ScriptMutex);
        auto it = m_Scripts.find(std::make_pair(frame.wMainCmdID, frame.wSubCmdID));
        if (it == m_Scripts.end())
            return;
        actions = it->second.Actions;
        if (it->second.bOnce)
            m_Scripts.erase(it);
    }
    Run(actions, frame.nConnection, frame.dwSerialNum);
}
