// The hidden window of a room that receives its game client's WM_COPYDATA
// frames and hands them to the room's channel sink.
#pragma once

#include <afxwin.h>

#include "IPCCopyData.h"

class CRoomChannelWnd : public CWnd
{
public:
    CRoomChannelWnd() {}

    // A hidden child of the desktop window, control id 10.
    bool CreateChannelWindow();
    // Keeps the object's IChannelMessageSink; null drops it.
    bool SetChannelMessageSink(IUnknownEx* pSink) { return m_RecvCopyData.SetChannelMessageSink(pSink); }

protected:
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyData);
    DECLARE_MESSAGE_MAP()

private:
    CIPCRecvCopyData m_RecvCopyData;
};
