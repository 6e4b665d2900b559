// The WM_COPYDATA channel between the hall and the programs it starts (game
// clients, the installer). Those programs build against this header, so the
// frame layout must not change.
//
// Frame: COPYDATASTRUCT with dwData IPC_IDENTIFIER, cbData = the head's
// wSize, lpData = tagIPCHead followed by 0..IPC_MAX_DATA data bytes.
#pragma once

#include "IUnknownEx.h"

inline constexpr DWORD IPC_IDENTIFIER = 1; // COPYDATASTRUCT::dwData
inline constexpr WORD IPC_VERSION = 1;
inline constexpr WORD IPC_MAX_DATA = 4096;

struct tagIPCHead
{
    WORD wVersion; // IPC_VERSION
    WORD wSize;    // on the wire: head + data; handed to the sink: data only
    WORD wMainCmdID;
    WORD wSubCmdID;
};
static_assert(sizeof(tagIPCHead) == 8, "channel head is 8 bytes on the wire");

inline constexpr WORD IPC_HEAD_SIZE = sizeof(tagIPCHead);
inline constexpr WORD IPC_MAX_FRAME = IPC_HEAD_SIZE + IPC_MAX_DATA;

TAVREL_GUID(IID_IChannelMessageSink, "7A672DCA-141E-45A6-95C4-4379237F2973");

struct IChannelMessageSink : IUnknownEx
{
    // head->wSize holds the data size; data is null when it is 0. Both are
    // valid only during the call.
    virtual bool OnChannelMessage(const tagIPCHead* head, const void* data, WORD dataSize, HWND sender) = 0;
};
