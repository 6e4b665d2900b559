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
// A room's dialogs: create table, the three password prompts (one template),
// the sit-limit options; the administrator's composers and editors.
#define IDD_CREATE_TABLE 2400
#define IDD_ROOM_PASSWORD 2401
#define IDD_ROOM_OPTION 2402
#define IDD_MANAGER_SERVER 2403
#define IDD_MANAGER_POPUP 2404
#define IDD_MANAGER_MESSAGE 2405
#define IDD_MANAGER_WARNING 2406
#define IDD_MANAGER_RIGHT 2407
#define IDC_CREATE_NAME 24000
#define IDC_CREATE_PASS_CHECK 24001
#define IDC_CREATE_PASS 24002
#define IDC_CREATE_ROUNDS_CHECK 24003
#define IDC_CREATE_ROUNDS 24004
#define IDC_CREATE_MULTIPLE_CHECK 24005
#define IDC_CREATE_MULTIPLE 24006
#define IDC_CREATE_SCORE_CHECK 24007
#define IDC_CREATE_SCORE 24008
#define IDC_CREATE_FLEE_CHECK 24009
#define IDC_CREATE_FLEE 24010
#define IDC_CREATE_IP_CHECK 24011
#define IDC_CREATE_IP 24012
#define IDC_CREATE_CLOSE 24013
#define IDC_PASS_EDIT 24020
#define IDC_PASS_TEXT 24021
#define IDC_OPTION_WIN_CHECK 24030
#define IDC_OPTION_WIN 24031
#define IDC_OPTION_FLEE_CHECK 24032
#define IDC_OPTION_FLEE 24033
#define IDC_OPTION_DELAY_CHECK 24034
#define IDC_OPTION_DELAY 24035
#define IDC_OPTION_SCORE_CHECK 24036
#define IDC_OPTION_SCORE_MIN 24037
#define IDC_OPTION_SCORE_MAX 24038
#define IDC_OPTION_DETEST 24039
#define IDC_OPTION_SAME_IP 24040
#define IDC_OPTION_PASS_CHECK 24041
#define IDC_OPTION_PASS 24042
#define IDC_OPTION_BOSS_KEY 24043
#define IDC_OPTION_TABLE_GROUP 24044
#define IDC_OPTION_OTHER_GROUP 24045
#define IDC_OPTION_INVITE 24046
#define IDC_OPTION_CALL 24047
#define IDC_OPTION_WHISPER 24048
#define IDC_MANAGER_PREVIEW 24060
#define IDC_MANAGER_KIND 24061
#define IDC_MANAGER_TEXT 24062
#define IDC_MANAGER_TITLE 24063
#define IDC_MANAGER_PICTURE 24064
#define IDC_MANAGER_LINK 24065
#define IDC_MANAGER_ROOM_MSG 24066
#define IDC_MANAGER_GAME_MSG 24067
#define IDC_MANAGER_USER_NAME 24068
#define IDC_MANAGER_USER_ID 24069
#define IDC_RIGHT_HALL_CHAT 24070
#define IDC_RIGHT_GAME_CHAT 24071
#define IDC_RIGHT_WHISPER 24072
#define IDC_RIGHT_LOOK_ON 24073
#define IDC_RIGHT_PLAY 24074
#define IDC_RIGHT_BIND_ACCOUNT 24075
#define IDC_RIGHT_BIND_GAME 24076
#define IDC_SERVER_FIRST 24080
