// The numbers of the hall server protocol: main and sub commands of the
// requests and of the server messages, and the keys of the hall
// notifications (WM_HALL_NOTIFY) that the hall data centre raises.
// Requests are HALL_SUB_<main>_*, server messages HALL_SUB_S_<main>_*.
#pragma once

#include "Message.h"

// ---- main commands ----------------------------------------------------------

const WORD HALL_MAIN_TEXTS = 1001; // nothing received is used
const WORD HALL_MAIN_USER = 1002;  // logon, registration, account, own user
const WORD HALL_MAIN_GAME_LIST = 1003;
const WORD HALL_MAIN_ONLINE_COUNT = 1004;
const WORD HALL_MAIN_MESSAGE = 1005;
const WORD HALL_MAIN_VALUE_PAIR = 1006;
const WORD HALL_MAIN_USER_VALUE = 1007;
const WORD HALL_MAIN_RECORD_STORE = 1008;
const WORD HALL_MAIN_TEAM = 1010;

// ---- requests -----------------------------------------------------------------

const WORD HALL_SUB_TEXTS_TWO_TEXTS = 1;

const WORD HALL_SUB_USER_LOGON_BY_ACCOUNT = 2;
const WORD HALL_SUB_USER_INFO = 3;
const WORD HALL_SUB_USER_LOGON_BY_USER_ID = 4;
const WORD HALL_SUB_USER_BIND_MACHINE = 5;
const WORD HALL_SUB_USER_RELEASE_MACHINE = 6;
const WORD HALL_SUB_USER_SIGNATURE = 7;
const WORD HALL_SUB_USER_LOGOFF = 8;
const WORD HALL_SUB_USER_MACHINE_LOGON = 9;
const WORD HALL_SUB_USER_REGISTER = 10;
const WORD HALL_SUB_USER_CHECK_ACCOUNT = 11;
const WORD HALL_SUB_USER_CHECK_EMAIL = 12;
const WORD HALL_SUB_USER_PERSONAL_INFO_REQUEST = 13;
const WORD HALL_SUB_USER_PERSONAL_INFO = 14;

// RequestGameList sends every sub from the first to the last, one request each.
const WORD HALL_SUB_GAME_LIST_FIRST = 1;
const WORD HALL_SUB_GAME_LIST_LAST = 7;

const WORD HALL_SUB_ONLINE_COUNT_SUBSCRIBE = 1;
const WORD HALL_SUB_MESSAGE_NOTICE = 1;
const WORD HALL_SUB_USER_VALUE_BUY = 1;

const WORD HALL_SUB_RECORD_STORE_REQUEST_1 = 1;
const WORD HALL_SUB_RECORD_STORE_REQUEST_2 = 2;
const WORD HALL_SUB_RECORD_STORE_REQUEST_3 = 3;
const WORD HALL_SUB_RECORD_STORE_REQUEST_4 = 4;

const WORD HALL_SUB_TEAM_INFO = 1;

// ---- server messages of HALL_MAIN_USER -------------------------------------------

const WORD HALL_SUB_S_USER_LOGON_RESULT = 1002;
const WORD HALL_SUB_S_USER_INFO_RESULT = 1003;
const WORD HALL_SUB_S_USER_SESSION_ENDED = 1004;
const WORD HALL_SUB_S_USER_ACCOUNT_1 = 1005; // mapped u32
const WORD HALL_SUB_S_USER_ACCOUNT_2 = 1006; // mapped u32
const WORD HALL_SUB_S_USER_ACCOUNT_3 = 1007; // mapped u32
const WORD HALL_SUB_S_USER_TYPED_ATTRIBUTES = 1008;
const WORD HALL_SUB_S_USER_REGISTER_RESULT = 1009;
const WORD HALL_SUB_S_USER_ACCOUNT_CHECK = 1010;
const WORD HALL_SUB_S_USER_EMAIL_CHECK = 1011;
const WORD HALL_SUB_S_USER_TEXT_ATTRIBUTES = 1012;
const WORD HALL_SUB_S_USER_ACCOUNT_NOTICE = 1013;
const WORD HALL_SUB_S_USER_VALUE_1014 = 1014; // plain u32

// ---- server messages of HALL_MAIN_GAME_LIST ----------------------------------------

const WORD HALL_SUB_S_GAME_LIST_CATEGORIES = 1001;
const WORD HALL_SUB_S_GAME_LIST_GAMES = 1002;
const WORD HALL_SUB_S_GAME_LIST_STATIONS = 1003;
const WORD HALL_SUB_S_GAME_LIST_ROOMS = 1004;
const WORD HALL_SUB_S_GAME_LIST_WEBS = 1005;
const WORD HALL_SUB_S_GAME_LIST_SERVER_TREE = 1007;
const WORD HALL_SUB_S_GAME_LIST_SECOND_TREE = 1008;

// ---- server messages of the other mains ------------------------------------------

const WORD HALL_SUB_S_ONLINE_COUNT_TOTAL = 1001;
const WORD HALL_SUB_S_ONLINE_COUNT_ROOMS = 1002;

const WORD HALL_SUB_S_MESSAGE_SYSTEM = 1001;
const WORD HALL_SUB_S_MESSAGE_POPUP = 1002;

const WORD HALL_SUB_S_VALUE_PAIR = 1001;

const WORD HALL_SUB_S_USER_VALUE_LIST = 1001;
const WORD HALL_SUB_S_USER_VALUE_ITEM = 1002;
const WORD HALL_SUB_S_USER_VALUE_BUY_RESULT = 1003;

const WORD HALL_SUB_S_RECORD_STORE_DEFINITION = 1001;
const WORD HALL_SUB_S_RECORD_STORE_ENTRIES_A = 1002;
const WORD HALL_SUB_S_RECORD_STORE_ENTRY_A = 1003;
const WORD HALL_SUB_S_RECORD_STORE_REMOVE_A = 1004;
const WORD HALL_SUB_S_RECORD_STORE_ENTRIES_C = 1005;
const WORD HALL_SUB_S_RECORD_STORE_ENTRY_C = 1006;
const WORD HALL_SUB_S_RECORD_STORE_REMOVE_C = 1007;
const WORD HALL_SUB_S_RECORD_STORE_NUMBER_C = 1008;
const WORD HALL_SUB_S_RECORD_STORE_NUMBER_C_2 = 1009;
const WORD HALL_SUB_S_RECORD_STORE_VALUE_1010 = 1010;
const WORD HALL_SUB_S_RECORD_STORE_VALUE_1011 = 1011;
const WORD HALL_SUB_S_RECORD_STORE_VALUE_1012 = 1012;
const WORD HALL_SUB_S_RECORD_STORE_VALUE_1013 = 1013;
const WORD HALL_SUB_S_RECORD_STORE_VALUE_1014 = 1014;

const WORD HALL_SUB_S_TEAM_INFO = 1001;

// ---- notifications ------------------------------------------------------------

// Main 1: connection, logon and the own user.
constexpr tagNotifyKey HN_CONNECTING = {1, 1};        // null
constexpr tagNotifyKey HN_CONNECT_RESULT = {1, 2};    // tagConnectNotice*
constexpr tagNotifyKey HN_LOGON_RESULT = {1, 3};      // tagLogonNotice*, to the serial
constexpr tagNotifyKey HN_USER_INFO_RESULT = {1, 6};  // LONG* mapped result, to the serial
constexpr tagNotifyKey HN_SESSION_ENDED = {1, 7};     // null
constexpr tagNotifyKey HN_CONNECTION_CLOSED = {1, 8}; // null
constexpr tagNotifyKey HN_USER_ATTRIBUTE = {1, 9};    // the attribute id
// Main 2: the game tree.
constexpr tagNotifyKey HN_SERVER_TREE = {2, 5};  // null
constexpr tagNotifyKey HN_SECOND_TREE = {2, 6};  // null
constexpr tagNotifyKey HN_ONLINE_COUNT = {2, 7}; // null
// Main 3: account answers, in the order of their messages.
constexpr tagNotifyKey HN_ACCOUNT_1 = {3, 1};       // the mapped value
constexpr tagNotifyKey HN_ACCOUNT_2 = {3, 2};       // the mapped value
constexpr tagNotifyKey HN_ACCOUNT_3 = {3, 3};       // the mapped value
constexpr tagNotifyKey HN_REGISTER_RESULT = {3, 4}; // the value
constexpr tagNotifyKey HN_ACCOUNT_CHECK = {3, 5};   // the bool value
constexpr tagNotifyKey HN_EMAIL_CHECK = {3, 6};     // the bool value
constexpr tagNotifyKey HN_ACCOUNT_NOTICE = {3, 7};  // tagAccountNotice*
constexpr tagNotifyKey HN_USER_VALUE_1014 = {3, 8}; // the value
// Mains 4 to 6.
constexpr tagNotifyKey HN_SYSTEM_MESSAGE = {4, 1}; // tagSystemMessage*
constexpr tagNotifyKey HN_VALUE_PAIR = {5, 1};     // first * 65536 + second
constexpr tagNotifyKey HN_USER_VALUE = {6, 1};     // tagUserValueItem*
constexpr tagNotifyKey HN_BUY_RESULT = {6, 2};     // the byte value
// Main 7: the record store; sub 1013 is notified as 11 and sub 1012 as 12.
constexpr tagNotifyKey HN_STORE_DEFINITION = {7, 1};  // its id
constexpr tagNotifyKey HN_STORE_ENTRY_A = {7, 2};     // its id
constexpr tagNotifyKey HN_STORE_REMOVE_A = {7, 3};    // the id
constexpr tagNotifyKey HN_STORE_ENTRIES_C = {7, 4};   // its id, per entry
constexpr tagNotifyKey HN_STORE_ENTRY_C = {7, 5};     // its id
constexpr tagNotifyKey HN_STORE_REMOVE_C = {7, 6};    // the id
constexpr tagNotifyKey HN_STORE_NUMBER_C = {7, 7};    // the id
constexpr tagNotifyKey HN_STORE_NUMBER_C_2 = {7, 8};  // the id
constexpr tagNotifyKey HN_STORE_VALUE_1010 = {7, 9};  // the value
constexpr tagNotifyKey HN_STORE_VALUE_1011 = {7, 10}; // the value
constexpr tagNotifyKey HN_STORE_VALUE_1013 = {7, 11}; // the value
constexpr tagNotifyKey HN_STORE_VALUE_1012 = {7, 12}; // the value
constexpr tagNotifyKey HN_STORE_VALUE_1014 = {7, 13}; // the value
// Main 8: teams.
constexpr tagNotifyKey HN_TEAM_INFO = {8, 1}; // the team id
