// The chat-line writer of Brindle.dll: writes system and chat lines, with
// type icons, clickable names, links and emotion pictures, into a rich-edit
// control that a hall window owns.
#pragma once

#include "IUnknownEx.h"
#include "ModuleHelper.h"

class CWnd;

TAVREL_GUID(CLSID_MessageProxy, "6416B6C4-E4AF-4692-A55C-1576AC0B1084");
TAVREL_GUID(IID_IMessageProxy, "DA60893D-FB94-41AD-87A9-C8F3E32BDE3C");
TAVREL_GUID(IID_IMessageProxy2, "B2F6A4BF-DB1E-470C-90C0-7244D629B2AA");

// One clickable range of the written text.
enum
{
    MESSAGE_ITEM_LINK = 0, // szData: the link target
    MESSAGE_ITEM_USER = 1, // szData: the user id in decimal
};

struct tagMessageItem
{
    int nFirst; // first and last character position
    int nLast;
    int nKind;
    char szData[256];
};
static_assert(sizeof(tagMessageItem) == 268, "message item layout");

// The user a chat line names.
struct tagMessageUser
{
    DWORD dwUserID;
    char szNickName[32];
    DWORD dwRank;
};
static_assert(sizeof(tagMessageUser) == 40, "message user layout");

// The colour block SetStyle copies: six COLORREFs, 24 bytes.
inline constexpr UINT MESSAGE_STYLE_SIZE = 6 * sizeof(DWORD);

// Every operation answers false without an attached control or with a null
// or empty text.
struct IMessageProxy : IUnknownEx
{
    virtual bool SetRichEdit(CWnd* pRichEdit) = 0;
    virtual bool SetStyle(const void* colours) = 0;
    virtual bool LoadConfig(const char* dir) = 0;
    virtual bool LoadTypeIcons(const char* dir) = 0;
    virtual bool Clear() = 0;
    virtual bool SetOption(int option) = 0; // nonzero: keep the view at the bottom
    virtual bool IsAttached() = 0;
    virtual bool IsAttached2() = 0;
    virtual bool InsertTime(COLORREF colour) = 0;
    virtual bool InsertSystemText(const char* text) = 0;
    virtual bool InsertText(const char* text, COLORREF colour, BOOL newLine) = 0;
    virtual bool InsertPlainText(const char* text, COLORREF colour, BOOL newLine) = 0;
    virtual bool InsertUserSays(const tagMessageUser* user, const char* text, COLORREF colour) = 0;
    virtual bool InsertUserToUser(const tagMessageUser* user, const tagMessageUser* other, const char* text,
                                  COLORREF colour) = 0;
    virtual bool InsertSpeakerText(const tagMessageUser* user, const char* text) = 0;
    virtual bool FindLinkItem(int charPos, tagMessageItem* out) = 0;
};

struct IMessageProxy2 : IMessageProxy
{
    virtual bool InsertActivityText(const char* text, COLORREF colour) = 0;
};

class CMessageProxyHelper : public CModuleHelper<IMessageProxy>
{
public:
    CMessageProxyHelper()
        : CModuleHelper<IMessageProxy>(CLSID_MessageProxy, IID_IMessageProxy, "Brindle.dll", "DllGetClassObject")
    {}
};
