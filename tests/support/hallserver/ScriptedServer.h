// A scripted server for tests (hall and room): a CFrameServer whose answers to each
// request (main, sub) are set by the test beforehand. An answer is a list of
// actions: reply frames (with the request's serial or a given one), raw
// bytes, closing or resetting the connection. A request without a script
// gets no answer. Bodies are byte vectors: write them with CWireBytes or with
// the record codec (Body()).
#pragma once

#include <map>
#include <utility>

#include "FrameServer.h"
#include "RecordCodec.h"

class CScriptedServer : public CFrameServer
{
public:
    struct tagAction
    {
        enum enKind
        {
            FRAME,
            RAW,
            CLOSE,
            ABORT,
        };
        enKind nKind;
        WORD wMainCmdID;
        WORD wSubCmdID;
        std::vector<BYTE> Data; // body of a frame, or raw bytes
        bool bRequestSerial;    // the frame carries the request's serial
        DWORD dwSerialNum;      // otherwise this one
    };

    CScriptedServer();

    // Replaces the script of (main, sub). With bOnce the script answers the
    // next such request only; later ones get nothing.
    void On(WORD wMainCmdID, WORD wSubCmdID, const std::vector<tagAction>& actions, bool bOnce = false);

    // A frame answering the request (its serial).
    static tagAction Reply(WORD wMainCmdID, WORD wSubCmdID, const std::vector<BYTE>& body = {});
    // A frame with a serial of its own (0: a plain server message).
    static tagAction Push(WORD wMainCmdID, WORD wSubCmdID, const std::vector<BYTE>& body = {}, DWORD dwSerialNum = 0);
    static tagAction Raw(const std::vector<BYTE>& bytes);
    static tagAction Close();
    static tagAction Abort();

    // Requests of this main (0: none) are answered with themselves: same
    // main, sub and body, serial 0.
    void SetEchoMain(WORD wMainCmdID) { m_wEchoMain = wMainCmdID; }

    // Runs actions now on a connection (default: the latest), as if a request
    // with serial dwRequestSerial had asked for them.
    bool Run(const std::vector<tagAction>& actions, int nConnection = -1, DWORD dwRequestSerial = 0);
    // Sends one server message on the latest connection.
    bool Send(WORD wMainCmdID, WORD wSubCmdID, const std::vector<BYTE>& body = {}, DWORD dwSerialNum = 0);

    // Requests received of (main, sub), in order of arrival.
    std::vector<tagServerFrame> GetRequests(WORD wMainCmdID, WORD wSubCmdID);

    template <class T> static std::vector<BYTE> Body(const T& record)
    {
        CSafeMemFile file;
        if (!PackRecord(file, record))
            return std::vector<BYTE>();
        return std::vector<BYTE>(file.GetData(), file.GetData() + file.GetDataSize());
    }

private:
    struct tagScript
    {
        std::vector<tagAction> Actions;
        bool bOnce;
    };

    void OnRequest(const tagServerFrame& frame);

    std::atomic<WORD> m_wEchoMain{0};
    std::mutex m_ScriptMutex;
    std::map<std::pair<WORD, WORD>, tagScript> m_Scripts;
};
