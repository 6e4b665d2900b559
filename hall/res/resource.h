// Resource ids of the hall program.
#pragma once

// The soft keyboard's dialog (a pop-up without controls; it draws itself).
#define IDD_PASSWORD_KEYBOARD 157
// The game-starting status window (a pop-up without controls; drawn from
// its picture).
#define IDD_GAME_STATUS 113
// The hand over keys and links.
#define IDC_HAND_CURSOR 135
