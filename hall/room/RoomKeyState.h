// Whether a Ctrl key is held, as the room's edits ask it on Enter. The
// asynchronous key state is the keyboard's, which a test cannot set: tests
// install their own answer.
#pragma once

#include <windows.h>

#include <functional>

inline std::function<bool()>& RoomCtrlKeyDown()
{
    static std::function<bool()> s_IsDown = [] {
        return (GetAsyncKeyState(VK_LCONTROL) & 0x8000) != 0 || (GetAsyncKeyState(VK_RCONTROL) & 0x8000) != 0;
    };
    return s_IsDown;
}
