// Faults a test puts in front of a demo server: at the next request of a
// kind the server closes the connection, answers nothing, or sends frames of
// the test's making (a malformed body) before it answers as usual.
#pragma once

#include <mutex>
#include <vector>

#include "FrameServer.h"

class CDemoFaults
{
public:
    // Puts itself in front of the handler the server has now; the faults
    // must outlive the server's thread.
    void Attach(CFrameServer& server);

    // The next request of that kind: the connection is closed before it is
    // answered.
    void CloseAtNext(WORD wMainCmdID, WORD wSubCmdID);
    // The next request of that kind gets no answer.
    void SilenceNext(WORD wMainCmdID, WORD wSubCmdID);
    // Before the next request of that kind is answered, the frame goes to
    // its connection, as a reply (under the request's serial) or as news
    // (serial 0).
    void SendBeforeNext(WORD wMainCmdID, WORD wSubCmdID, WORD wFrameMain, WORD wFrameSub, const std::vector<BYTE>& body,
                        bool bAsReply = true);
    // Faults set that no request has met yet.
    size_t GetPendingCount();

private:
    enum Action
    {
        FAULT_CLOSE,
        FAULT_SILENCE,
        FAULT_SEND_BEFORE,
    };
    struct tagFault
    {
        WORD wMainCmdID;
        WORD wSubCmdID;
        Action action;
        WORD wFrameMain;
        WORD wFrameSub;
        std::vector<BYTE> Body;
        bool bAsReply;
    };

    void Add(const tagFault& fault);

    std::mutex m_Mutex;
    std::vector<tagFault> m_Faults;
};
