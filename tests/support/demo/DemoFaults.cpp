#include "DemoFaults.h"

void CDemoFaults::Attach(CFrameServer& server)
{
    CFrameServer::FrameHandler next = server.GetFrameHandler();
    server.SetFrameHandler([this, next](CFrameServer& s, const tagServerFrame& frame) {
        std::vector<tagFault> met;
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            for (auto it = m_Faults.begin(); it != m_Faults.end();) {
                if (it->wMainCmdID == frame.wMainCmdID && it->wSubCmdID == frame.wSubCmdID) {
                    met.push_back(*it);
                    it = m_Faults.erase(it);
                } else {
                    ++it;
                }
            }
        }
        bool bAnswer = true;
        for (const tagFault& fault : met) {
            switch (fault.action) {
            case FAULT_CLOSE:
                s.Close(frame.nConnection);
                bAnswer = false;
                break;
            case FAULT_SILENCE: bAnswer = false; break;
            case FAULT_SEND_BEFORE:
                s.SendFrame(frame.nConnection, fault.bAsReply ? frame.dwSerialNum : 0, fault.wFrameMain,
                            fault.wFrameSub, fault.Body.data(), fault.Body.size());
                break;
            }
        }
        if (bAnswer && next)
            next(s, frame);
    });
}

void CDemoFaults::CloseAtNext(WORD wMainCmdID, WORD wSubCmdID)
{
    Add({wMainCmdID, wSubCmdID, FAULT_CLOSE, 0, 0, {}, false});
}

void CDemoFaults::SilenceNext(WORD wMainCmdID, WORD wSubCmdID)
{
    Add({wMainCmdID, wSubCmdID, FAULT_SILENCE, 0, 0, {}, false});
}

void CDemoFaults::SendBeforeNext(WORD wMainCmdID, WORD wSubCmdID, WORD wFrameMain, WORD wFrameSub,
                                 const std::vector<BYTE>& body, bool bAsReply)
{
    Add({wMainCmdID, wSubCmdID, FAULT_SEND_BEFORE, wFrameMain, wFrameSub, body, bAsReply});
}

size_t CDemoFaults::GetPendingCount()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Faults.size();
}

void CDemoFaults::Add(const tagFault& fault)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Faults.push_back(fault);
}
