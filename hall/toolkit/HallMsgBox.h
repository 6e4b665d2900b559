// HallMsgBox: the hall's skinned message box. The Windows MB_ style bits keep
// their meaning; the XMB_ bits add check boxes whose answer is remembered in
// the registry, "to all" buttons and a silent box. MsgBoxParams adds
// time-outs, disabled seconds, custom buttons, a report button, an icon,
// colours and caption texts; MsgBoxSkin names the skin pictures.
#pragma once

#include <windows.h>

#define XMB_DONTASKAGAIN 0x01000000u
#define XMB_DONTTELLAGAIN 0x02000000u
#define XMB_DONTSHOWAGAIN 0x04000000u
#define XMB_YESTOALL 0x08000000u
#define XMB_NOTOALL 0x10000000u
#define XMB_NORESOURCE 0x20000000u
#define XMB_NOSOUND 0x40000000u
#define XMB_TIMEOUT 0x80000000u
#define XMB_CHECKBOXES (XMB_DONTASKAGAIN | XMB_DONTTELLAGAIN | XMB_DONTSHOWAGAIN)

// Command ids of the buttons beyond IDOK .. IDCONTINUE.
enum
{
    IDSKIP = 14,
    IDSKIPALL = 15,
    IDIGNOREALL = 16,
    IDYESTOALL = 19,
    IDNOTOALL = 20,
    IDCUSTOM1 = 23,
    IDCUSTOM2 = 24,
    IDCUSTOM3 = 25,
    IDCUSTOM4 = 26,
    IDHELPBUTTON = 300,
    IDREPORT = 301,
    IDMSGBOXCHECK = 5555,
    IDMSGBOXICON = 1000,
    IDMSGBOXTEXT = 1001
};

// Options bits.
enum
{
    MSGBOX_RIGHTBUTTONS = 1,
    MSGBOX_WIDELOOK = 2,
    MSGBOX_NARROW = 4
};

// Caption slots, in this order.
enum
{
    MSGBOX_ABORT,
    MSGBOX_CANCEL,
    MSGBOX_CONTINUE,
    MSGBOX_DONTASKAGAIN,
    MSGBOX_DONTTELLAGAIN,
    MSGBOX_DONTSHOWAGAIN,
    MSGBOX_HELP,
    MSGBOX_IGNORE,
    MSGBOX_IGNOREALL,
    MSGBOX_NO,
    MSGBOX_NOTOALL,
    MSGBOX_OK,
    MSGBOX_REPORT,
    MSGBOX_RETRY,
    MSGBOX_SKIP,
    MSGBOX_SKIPALL,
    MSGBOX_TRYAGAIN,
    MSGBOX_YES,
    MSGBOX_YESTOALL,
    MSGBOX_CAPTION_COUNT
};

typedef void (*MsgBoxReportCallback)(LPCSTR lpszMessage, DWORD dwUserData);

struct MsgBoxParams
{
    MsgBoxParams();

    DWORD helpId;
    int timeoutSeconds;
    int disabledSeconds;
    int x;
    int y;
    DWORD options;
    HINSTANCE stringsModule;
    HINSTANCE iconModule;
    DWORD iconId;
    char iconFile[MAX_PATH];
    DWORD customButtonsId;
    char customButtons[MAX_PATH];
    DWORD reportCaptionId;
    char reportCaption[MAX_PATH];
    char companyName[MAX_PATH];
    LPCSTR answerKey;
    int answerKeyNumber;
    DWORD reportUserData;
    MsgBoxReportCallback reportCallback;
    COLORREF textColour;
    COLORREF backgroundColour;
    DWORD hasLinks;
    LPCSTR linkedText;
    DWORD useCaptions;
    char captions[MSGBOX_CAPTION_COUNT][MAX_PATH];
};

// Skin pictures; slots 0-8 frame and background, 9 the buttons, 10 the close button.
enum
{
    MSGBOX_SKIN_BUTTON = 9,
    MSGBOX_SKIN_CLOSE = 10,
    MSGBOX_SKIN_COUNT = 11
};
struct MsgBoxSkin
{
    char paths[MSGBOX_SKIN_COUNT][MAX_PATH];
};

// The id of the button that closed the box, with the flag of a ticked check
// box and XMB_TIMEOUT when the time ran out.
int HallMsgBox(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nStyle, const MsgBoxParams* pParams = NULL,
               const MsgBoxSkin* pSkin = NULL);

// Removes <a ...>label</a> anchors, keeping their labels; TRUE when any was removed.
BOOL StripMsgBoxLinks(char* pszText);

// Remembered answers: HKCU\Software\[company\]<program>\HallMsgBox, the
// value named after the answer key and its number.
CHAR* MsgBoxAnswerKeyPath(LPCSTR lpszCompany, char* pszPath, size_t cchPath);
void MsgBoxAnswerValueName(LPCSTR lpszAnswerKey, int nNumber, char* pszName, size_t cchName);
DWORD ReadMsgBoxAnswer(LPCSTR lpszCompany, LPCSTR lpszAnswerKey, int nNumber);
void WriteMsgBoxAnswer(LPCSTR lpszCompany, LPCSTR lpszAnswerKey, int nNumber, DWORD dwAnswer);
