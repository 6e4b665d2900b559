// The window of one entered game room.
#pragma once

#include <afx.h>

class CRoomViewItem
{
public:
    // The waiting state while the room is being entered: the room's own
    // controls give way to the waiting picture, and come back after it.
    void BeginWaitStatus();
    void EndWaitStatus();
};
