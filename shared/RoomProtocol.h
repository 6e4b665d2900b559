// The numbers of the room server protocol: main and sub commands of the
// requests and of the server messages, and the keys of the room
// notifications (WM_ROOM_NOTIFY) that the room data centre raises.
#pragma once

#include <afxtypes.h>

// ---- rule bits of a room and the administrator's rank ------------------------

const DWORD ROOM_RULE_ANONYMOUS = 0x100; // players' names and tables hidden
const DWORD ROOM_RULE_MATCH = 0x1000;
const DWORD ROOM_RULE_NO_CHAT = 0x8000;
const DWORD ROOM_RULE_NO_SPEAKER = 0x80000;
const DWORD ROOM_RANK_ADMIN = 256;

// ---- main commands ----------------------------------------------------------

const WORD ROOM_MAIN_LOGON = 1001; // nothing the client reads
const WORD ROOM_MAIN_ROOM = 1002;
const WORD ROOM_MAIN_TABLE = 1003;  // tables and matches
const WORD ROOM_MAIN_GAME = 1004;   // game traffic, translated
const WORD ROOM_MAIN_FRAME = 1005;  // game traffic, passed through
const WORD ROOM_MAIN_SERVER = 1006; // nothing the client reads
const WORD ROOM_MAIN_VALUE = 1007;

// ---- requests of ROOM_MAIN_ROOM ------------------------------------------------

const WORD ROOM_SUB_LOGON = 2;
const WORD ROOM_SUB_SIT_DOWN = 3;
const WORD ROOM_SUB_LOOK_ON = 4;
const WORD ROOM_SUB_WHISPER = 5;
const WORD ROOM_SUB_CHAT = 6;
const WORD ROOM_SUB_USER_RULE = 7;
const WORD ROOM_SUB_SPEAKER = 8;
const WORD ROOM_SUB_INVITE = 9;
const WORD ROOM_SUB_KICK = 10;
const WORD ROOM_SUB_LEAVE_ROOM = 12;
const WORD ROOM_SUB_MACHINE_CODE = 17;
const WORD ROOM_SUB_CREATE_TABLE = 19;
const WORD ROOM_SUB_MATCH_RULE = 20;
const WORD ROOM_SUB_MATCH_REQUEST = 21;
const WORD ROOM_SUB_SPEED_TEST = 22;
const WORD ROOM_SUB_ECHO = 23;
const WORD ROOM_SUB_BANK_WITHDRAW = 26;
const WORD ROOM_SUB_BANK_DEPOSIT = 27;
const WORD ROOM_SUB_BANK_PASSWORD = 28;
const WORD ROOM_SUB_JOIN_MATCH = 29;
const WORD ROOM_SUB_QUIT_MATCH = 30;
const WORD ROOM_SUB_GOLD_EXCHANGE = 38;

// ROOM_MAIN_TABLE: the table status after a logon.
const WORD ROOM_SUB_TABLE_STATUS = 1;
// ROOM_MAIN_GAME: stand up, also leaving the game.
const WORD ROOM_SUB_STAND_UP = 6;

// ROOM_MAIN_GAME: the requests a game client's own requests become.
const WORD ROOM_GAME_SUB_START = 1;
const WORD ROOM_GAME_SUB_CHAT = 2;
const WORD ROOM_GAME_SUB_DATA = 3;
const WORD ROOM_GAME_SUB_NOTE = 4;
const WORD ROOM_GAME_SUB_VALUE = 5;
const WORD ROOM_GAME_SUB_FLAG = 7;
const WORD ROOM_GAME_SUB_FLAG_OF = 8;
const WORD ROOM_GAME_SUB_SCORE = 9;
const WORD ROOM_GAME_SUB_ASK = 12;
const WORD ROOM_GAME_SUB_RECORD = 13;
const WORD ROOM_GAME_SUB_ON = 14;
const WORD ROOM_GAME_SUB_OFF = 15;

// Game sub 1004 of the server: the game has started.
const WORD ROOM_GAME_SUB_S_STARTED = 1004;

// The serial of the safe-box requests says who asked.
const DWORD ROOM_BANK_SERIAL_HALL = 1;
const DWORD ROOM_BANK_SERIAL_GAME = 2;

// ---- server messages of ROOM_MAIN_ROOM --------------------------------------------

const WORD ROOM_SUB_S_LOGON_RESULT = 1001;
const WORD ROOM_SUB_S_GAME_RESET = 1002;
const WORD ROOM_SUB_S_SIT_RESULT = 1003;
const WORD ROOM_SUB_S_USER_ENTER = 1004;
const WORD ROOM_SUB_S_USER_STATUS = 1005;
const WORD ROOM_SUB_S_USER_SCORE = 1006;
const WORD ROOM_SUB_S_CHAT = 1008;
const WORD ROOM_SUB_S_SPEAKER = 1009;
const WORD ROOM_SUB_S_INVITE = 1010;
const WORD ROOM_SUB_S_USER_LEAVE = 1011;
const WORD ROOM_SUB_S_ROOM_END = 1012;
const WORD ROOM_SUB_S_USER_TEXTS = 1013;
const WORD ROOM_SUB_S_WHISPER = 1014;
const WORD ROOM_SUB_S_KICKED = 1015;
const WORD ROOM_SUB_S_RESULT_CODE = 1016;
const WORD ROOM_SUB_S_GAME_RECORDS = 1017;
const WORD ROOM_SUB_S_GAME_RECORD = 1018;
const WORD ROOM_SUB_S_USER_EXTENSION = 1019;
const WORD ROOM_SUB_S_ROOM_STATE = 1020;
const WORD ROOM_SUB_S_MATCH_STATE = 1021;
const WORD ROOM_SUB_S_SPEED_ANSWER = 1022;
const WORD ROOM_SUB_S_ECHO = 1023;
const WORD ROOM_SUB_S_ROOM_FLAGS = 1024;
const WORD ROOM_SUB_S_USER_VALUE = 1025;
const WORD ROOM_SUB_S_USER_LIST = 1026;
const WORD ROOM_SUB_S_USER_CHANGES = 1027;
const WORD ROOM_SUB_S_BANK_WITHDRAW = 1028;
const WORD ROOM_SUB_S_BANK_DEPOSIT = 1029;
const WORD ROOM_SUB_S_BANK_PASSWORD = 1030;
const WORD ROOM_SUB_S_ACCEPTED = 1031;
const WORD ROOM_SUB_S_SIGN_BUTTONS = 1032;
const WORD ROOM_SUB_S_MATCH_TEAM = 1033;
const WORD ROOM_SUB_S_SIGN_RESULT = 1034;
const WORD ROOM_SUB_S_EXCHANGE = 1043;

// ---- server messages of ROOM_MAIN_TABLE -------------------------------------------

const WORD TABLE_SUB_S_INFO_DONE = 1001;
const WORD TABLE_SUB_S_ROOM_INFO = 1002;
const WORD TABLE_SUB_S_TABLE_FLAGS = 1003;
const WORD TABLE_SUB_S_SYSTEM_TEXT = 1004;
const WORD TABLE_SUB_S_ITEM_LIST = 1005;
const WORD TABLE_SUB_S_TABLE_RECORD = 1006;
const WORD TABLE_SUB_S_MATCH_TABLE_END = 1007;
const WORD TABLE_SUB_S_TABLE_LIST = 1008;
const WORD TABLE_SUB_S_TABLE_CHANGE = 1009;
const WORD TABLE_SUB_S_GROUP_STATE = 1011;
const WORD TABLE_SUB_S_MATCH_NOTICE = 1012;
const WORD TABLE_SUB_S_ATTRIBUTE_TYPES = 1013;

// ---- server messages of ROOM_MAIN_VALUE -------------------------------------------

const WORD VALUE_SUB_S_USER_VALUE = 1001;

// ---- notifications ------------------------------------------------------------

struct tagRoomNotifyKey
{
    WORD wMainCmdID;
    WORD wSubCmdID;
};

// Main 1: messages for the user.
constexpr tagRoomNotifyKey RN_ROOM_MESSAGE = {1, 2}; // tagRoomMessage*
// Main 2: connection and logon.
constexpr tagRoomNotifyKey RN_CONNECT_RESULT = {2, 2};    // tagRoomConnectResult*
constexpr tagRoomNotifyKey RN_LOGON_RESULT = {2, 3};      // tagRoomLogonNotice*
constexpr tagRoomNotifyKey RN_CONNECTION_CLOSED = {2, 6}; // null
// Main 3: users and the room.
constexpr tagRoomNotifyKey RN_USER_ENTER = {3, 1};       // CUserItem*
constexpr tagRoomNotifyKey RN_USER_STATUS = {3, 2};      // tagRoomUserStatus*
constexpr tagRoomNotifyKey RN_USER_SCORE = {3, 3};       // tagRoomUserScore*
constexpr tagRoomNotifyKey RN_SIT_RESULT = {3, 4};       // DWORD* code
constexpr tagRoomNotifyKey RN_CHAT = {3, 5};             // tagRoomChatNotice*
constexpr tagRoomNotifyKey RN_WHISPER = {3, 6};          // tagRoomWhisperNotice*
constexpr tagRoomNotifyKey RN_INVITE = {3, 7};           // tagRoomInviteNotice*
constexpr tagRoomNotifyKey RN_ROOM_END = {3, 8};         // null
constexpr tagRoomNotifyKey RN_USER_REFRESH = {3, 9};     // DWORD* user id
constexpr tagRoomNotifyKey RN_GAME_KICKED = {3, 10};     // tagRoomIdValue* {user id, by}
constexpr tagRoomNotifyKey RN_KICKED = {3, 11};          // DWORD* state
constexpr tagRoomNotifyKey RN_SPEAKER = {3, 12};         // tagRoomSpeakerNotice*
constexpr tagRoomNotifyKey RN_ROOM_STATE = {3, 14};      // BYTE* state
constexpr tagRoomNotifyKey RN_MATCH_STATE = {3, 15};     // BYTE* state
constexpr tagRoomNotifyKey RN_ROOM_FLAGS = {3, 16};      // DWORD* second flag
constexpr tagRoomNotifyKey RN_USER_VALUE = {3, 17};      // DWORD* user id
constexpr tagRoomNotifyKey RN_USER_LIST = {3, 18};       // null
constexpr tagRoomNotifyKey RN_USER_CHANGES = {3, 19};    // null
constexpr tagRoomNotifyKey RN_SIGN_BUTTONS = {3, 20};    // DWORD* code
constexpr tagRoomNotifyKey RN_MATCH_TEAM = {3, 21};      // tagRoomMatchTeam*
constexpr tagRoomNotifyKey RN_BANK_PASSWORD = {3, 22};   // DWORD* result
constexpr tagRoomNotifyKey RN_BANK_WITHDRAW = {3, 23};   // DWORD* result
constexpr tagRoomNotifyKey RN_BANK_DEPOSIT = {3, 24};    // DWORD* result
constexpr tagRoomNotifyKey RN_SIGN_RESULT = {3, 25};     // DWORD* code
constexpr tagRoomNotifyKey RN_RESULT_CODE = {3, 26};     // DWORD* local code
constexpr tagRoomNotifyKey RN_EXCHANGE_RESULT = {3, 27}; // DWORD* code
// Main 4: tables and matches.
constexpr tagRoomNotifyKey RN_ROOM_INFO = {4, 1};       // tagRoomInfo*
constexpr tagRoomNotifyKey RN_TABLE_FLAGS = {4, 4};     // tagRoomTableFlags*
constexpr tagRoomNotifyKey RN_INFO_DONE = {4, 5};       // null
constexpr tagRoomNotifyKey RN_TABLE_RECORD = {4, 7};    // tagRoomTableRecord*
constexpr tagRoomNotifyKey RN_MATCH_TABLE_END = {4, 8}; // null
constexpr tagRoomNotifyKey RN_TABLE_LIST = {4, 9};      // WORD* count
constexpr tagRoomNotifyKey RN_TABLE_ENTRY = {4, 10};    // tagRoomTableEntry*
constexpr tagRoomNotifyKey RN_GROUP_STATE = {4, 11};    // tagRoomGroupState*
constexpr tagRoomNotifyKey RN_MATCH_NOTICE = {4, 12};   // null
// Main 6: game client, match and speed tests; (6,2), (6,3), (6,7), (6,8)
// are posted with a plain value in lParam.
constexpr tagRoomNotifyKey RN_GAME_CLIENT = {6, 2};
// Values of (6,2): the client is done (close the status dialog and minimise
// the hall), is being started (show it), or never came (close it only).
const LPARAM GAME_CLIENT_POST_DONE = 0;
const LPARAM GAME_CLIENT_POST_STARTING = 1;
const LPARAM GAME_CLIENT_POST_FAILED = 2;
constexpr tagRoomNotifyKey RN_GAME_POST_3 = {6, 3};
constexpr tagRoomNotifyKey RN_GAME_ROUNDS = {6, 4};  // DWORD* rounds to finish
constexpr tagRoomNotifyKey RN_MATCH_FLAG = {6, 5};   // null
constexpr tagRoomNotifyKey RN_SPEED_RESULT = {6, 6}; // tagRoomSpeedAnswer*
constexpr tagRoomNotifyKey RN_GAME_POST_7 = {6, 7};
constexpr tagRoomNotifyKey RN_GAME_POST_8 = {6, 8};
