// The user-service protocol's commands and the records of the notifications
// the data centre raises (message WM_QUILLON_NOTIFY; wParam a tagNotifyHead,
// lParam the record of the key below, valid only during the handler).
#pragma once

#include "Message.h"
#include "QuillonMessageReader.h"

const WORD SERVICE_MAIN_LOGON = 100;
const WORD SERVICE_MAIN_USER_INFO = 200;
const WORD SERVICE_MAIN_BANK = 300;
const WORD SERVICE_MAIN_RESERVED = 400;
const WORD SERVICE_MAIN_SCORE = 500;

// Requests (a reply's sub is the request's plus one).
const WORD SERVICE_SUB_LOGON = 102;
const WORD SERVICE_SUB_USER_INFO = 201;
const WORD SERVICE_SUB_MODIFY_USER_INFO = 203;
const WORD SERVICE_SUB_MODIFY_PASSWORD = 205;
const WORD SERVICE_SUB_NICKNAME = 207;
const WORD SERVICE_SUB_BANK_INFO = 301;
const WORD SERVICE_SUB_DEPOSIT = 303;
const WORD SERVICE_SUB_WITHDRAW = 305;
const WORD SERVICE_SUB_BANK_PASSWORD = 307;
const WORD SERVICE_SUB_TRANSFER = 309;
const WORD SERVICE_SUB_EXCHANGE = 311;
const WORD SERVICE_SUB_CHECK_BANK_PASSWORD = 313;
const WORD SERVICE_SUB_INIT_BANK_PASSWORD = 315;
const WORD SERVICE_SUB_PLAYED_GAMES = 501;
const WORD SERVICE_SUB_GAME_SCORE = 503;

// The notification message of the user-service data centre (WM_USER+110).
const UINT WM_QUILLON_NOTIFY = WM_USER + 110;

// Notification keys and their records.
const tagNotifyKey QN_CONNECT = {100, 101};             // tagServiceConnectNotice*
const tagNotifyKey QN_LOGON = {100, 102};               // LONG* result
const tagNotifyKey QN_CLOSED = {100, 103};              // the socket's last error code itself
const tagNotifyKey QN_USER_INFO = {200, 201};           // tagServiceUserInfo*
const tagNotifyKey QN_MODIFY_RESULT = {200, 202};       // tagServiceModifyResult*
const tagNotifyKey QN_PASSWORD_RESULT = {200, 203};     // LONG* result
const tagNotifyKey QN_NICKNAME = {200, 204};            // tagServiceNickName*
const tagNotifyKey QN_BANK_INFO = {300, 301};           // tagServiceBankInfo* (result and balance first)
const tagNotifyKey QN_DEPOSIT = {300, 302};             // LONG* result
const tagNotifyKey QN_WITHDRAW = {300, 303};            // LONG* result
const tagNotifyKey QN_BANK_PASSWORD = {300, 304};       // LONG* result
const tagNotifyKey QN_TRANSFER = {300, 305};            // the result itself
const tagNotifyKey QN_EXCHANGE = {300, 306};            // tagServiceExchange*
const tagNotifyKey QN_BANK_PASSWORD_STATE = {300, 307}; // tagServiceBankPasswordState*
const tagNotifyKey QN_BANK_PASSWORD_SET = {300, 308};   // the result itself
const tagNotifyKey QN_PLAYED_GAMES = {500, 501};        // CPlayedGameArray*
const tagNotifyKey QN_GAME_SCORE = {500, 502};          // quillonproto::tagScore_GameScore*

// (100,101): code 0 connected, 1 no server left.
struct tagServiceConnectNotice
{
    LONG lCode;
    LPCSTR pszText;
};

// (200,202): the attributes of the request answered (empty when no pending
// request has the reply's serial).
struct tagServiceModifyResult
{
    LONG lResult;
    CModifyAttrArray Attrs;
};
