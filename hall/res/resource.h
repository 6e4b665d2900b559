// Resource ids of the hall program.
#pragma once

// The soft keyboard's dialog (a pop-up without controls; it draws itself).
#define IDD_PASSWORD_KEYBOARD 157
// The about box and the close dialog of the main frame.
#define IDD_ABOUT 102
#define IDD_CLOSE 147
// The game-starting status window (a pop-up without controls; drawn from
// its picture).
#define IDD_GAME_STATUS 113
// The hand over keys and links.
#define IDC_HAND_CURSOR 135
// The hall's icon (the logon dialog's small icon, the forms' icon).
#define IDI_HALL 128
// The client's name in the logon's version report.
#define IDS_CLIENT_NAME 131
// The logon dialog; its controls carry their numbers in the script and are
// laid out in code.
#define IDD_LOGON 129
// The guest's registration form, the personal-information form and the
// registration web page.
#define IDD_REGISTER 115
#define IDD_PREFECT_SELF_INFO 117
#define IDD_REGISTER_WEB 121
// The table grid's lock and ready pictures, for a game skin without them.
#define IDB_TABLE_LOCKER 133
#define IDB_TABLE_USER_READY 134
// A bare child dialog: the web dialogs' page and the loading animation.
#define IDD_HTML_PAGE 114
// The skinned host of one web page (in-site mail, promotion, card recharge).
#define IDD_WEB_DIALOG 132
// The game download window.
#define IDD_DOWNLOAD 103
// A page of a room's money panel (safe box, gold exchange): its amount field
// (1248 deposit, 1245 withdraw and beans to eggs, 1102 eggs to beans),
// quick amounts 1091-1098 and the "all" boxes 1247, 1249.
#define IDD_BANK_PAGE 160
// The item shop: the same bare pop-up as the game-starting status window (it
// sizes and draws itself). The buy dialog, also drawn by itself.
#define IDD_ITEM_SHOP 113
#define IDD_BUY_ITEM 175
// A room's money panels: the safe box and the gold exchange, with their tab
// buttons 1241 and 1242, confirm, cancel and the extra button 1243.
#define IDD_BANK_STORAGE 176
#define IDD_HB_EXCHANGE 154
// The game channel dialog and the custom game list.
#define IDD_GAME_CHANNEL 116
#define IDD_GAME_LIST_MANAGER 148
// The player card and the big-face viewer: a pop-up without controls.
#define IDD_PLAYER_INFO 104
// The first picture of the room tabs: the hall before any game.
#define IDI_ROOM_TABS_HALL 153
// The room's small dialogs: find player (search 1, close 2, nickname 1038,
// results 1039), loudspeaker (edit 1070, count 1050, characters left 1072,
// send 1) and whisper (input 1082, send 1083, close 1041, history 1085).
#define IDD_FIND_USER 2501
#define IDD_SPEAK 2502
#define IDD_SHORT_MESSAGE 2503
