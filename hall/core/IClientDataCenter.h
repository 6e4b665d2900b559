// The hall data centre as the hall's windows reach it, and what it tells
// them. Every result comes as the notification message WM_HALL_NOTIFY to the
// windows registered for its (main, sub) key, or for the serial of the
// request it answers (HallProtocol.h names the keys); wParam points to a
// tagNotifyHead, lParam as listed:
//
//   (1,1) connecting to a server            null
//   (1,2) connect result                    tagConnectNotice*
//   (1,3) logon result, to the serial       tagLogonNotice*
//   (1,6) user attributes, to the serial    LONG* mapped result (4: malformed answer)
//   (1,7) the server ended the session      null
//   (1,8) the connection closed             null
//   (1,9) an own user attribute changed     the attribute id
//   (2,5) server tree built                 null
//   (2,6) second tree built                 null
//   (2,7) online counts changed             null
//   (3,1) (3,2) (3,3) account answers       the mapped value (-1 when malformed)
//   (3,4) registration result               the value (-1 when malformed)
//   (3,5) (3,6) name and e-mail checks      the bool value (true when malformed)
//   (3,7) account notice                    tagAccountNotice*
//   (3,8)                                   the value (-1 when malformed)
//   (4,1) system message                    tagSystemMessage*
//   (5,1) value pair                        first * 65536 + second
//   (6,1) own item value                    tagUserValueItem*
//   (6,2) purchase result                   the byte value
//   (7,1) to (7,13) record store            the record id or the value
//   (8,1) team information                  the team id
#pragma once

#include "HallRecords.h"
#include "IUnknownEx.h"

TAVREL_GUID(IID_IClientDataCenter, "7F5288AA-2BA3-44EA-BD9A-6AB3D8260887");

const UINT WM_HALL_NOTIFY = WM_USER + 123;

// What the logon window hands over.
struct tagLogonInput
{
    DWORD dwUserID; // 0: log on by account
    char szAccounts[33];
    char szPassword[33]; // MD5 hex text of the password
};

// (1,2): 0 and the socket module's text when connected.
struct tagConnectNotice
{
    LONG lErrorCode;
    LPCSTR pszErrorText;
};

struct IClientDataCenter : IUnknownEx
{
    // The socket's own slots 3 and 4, passed through.
    virtual DWORD GetSocketErrorCode() = 0;
    virtual DWORD SetConnectTimeout(DWORD dwTimeout) = 0;
    // Tries the options store's logon servers in turn, one round.
    virtual bool ConnectServer() = 0;
    // 1002/2 by account (user id 0) or 1002/4 by user id; dwSerialNum gets
    // the request's serial, and hWnd hears (1,3).
    virtual bool SendLogon(DWORD& dwSerialNum, HWND hWnd, const tagLogonInput& input) = 0;
    virtual bool IsValid() = 0;
    // 1002/3; hWnd hears (1,6).
    virtual bool RequestUserInfo(DWORD& dwSerialNum, HWND hWnd) = 0;
    // 1003/1 to 7, then the online counts.
    virtual bool RequestGameList() = 0;
};
