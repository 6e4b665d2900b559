// Resource ids of the hall program.
#pragma once

// The soft keyboard's dialog (a pop-up without controls; it draws itself).
#define IDD_PASSWORD_KEYBOARD 157
// The hand over keys and links.
#define IDC_HAND_CURSOR 135
