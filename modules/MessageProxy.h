// Writes chat and system lines into a rich edit that a hall window owns:
// type icons, clickable names, links and emotion pictures, with a list of
// the clickable ranges for the window's click handling.
#pragma once

#include <afxcmn.h>
#include <afxtempl.h>

#include <string>

#include "IEmotionDlg.h"
#include "IMessageProxy.h"
#include "RefCounted.h"

class CImageDataObject;

class CMessageProxy : public CRefCounted<IMessageProxy2>
{
public:
    enum
    {
        COLOUR_ICON_BACK,
        COLOUR_NAME,
        COLOUR_SPARE, // kept for callers' colour blocks, used by no line
        COLOUR_SYSTEM,
        COLOUR_SPEAKER_NAME,
        COLOUR_SPEAKER_TEXT,
        COLOUR_COUNT
    };
    enum
    {
        ICON_SYSTEM,
        ICON_PLAYER,
        ICON_SPEAKER,
        ICON_ACTIVITY,
        ICON_COUNT
    };

    CMessageProxy();
    ~CMessageProxy() override;

    HRESULT QueryInterface(REFGUID iid, void** out) override;

    bool SetRichEdit(CWnd* pRichEdit) override;
    bool SetStyle(const void* colours) override;
    bool LoadConfig(const char* dir) override;
    bool LoadTypeIcons(const char* dir) override;
    bool Clear() override;
    bool SetOption(int option) override;
    bool IsAttached() override;
    bool IsAttached2() override;
    bool InsertTime(COLORREF colour) override;
    bool InsertSystemText(const char* text) override;
    bool InsertText(const char* text, COLORREF colour, BOOL newLine) override;
    bool InsertPlainText(const char* text, COLORREF colour, BOOL newLine) override;
    bool InsertUserSays(const tagMessageUser* user, const char* text, COLORREF colour) override;
    bool InsertUserToUser(const tagMessageUser* user, const tagMessageUser* other, const char* text,
                          COLORREF colour) override;
    bool InsertSpeakerText(const tagMessageUser* user, const char* text) override;
    bool FindLinkItem(int charPos, tagMessageItem* out) override;
    bool InsertActivityText(const char* text, COLORREF colour) override;

private:
    // What appending changes and puts back: the reader's selection and view.
    struct AppendState
    {
        CHARRANGE selection;
        POINT scroll;
    };

    bool CanWrite(const char* text);
    void BeginAppend(AppendState& state);
    void EndAppend(const AppendState& state);
    // Appends text in the format; first and last character positions out.
    void AppendRun(const char* text, CHARFORMAT2& format, long* first = NULL, long* end = NULL);
    void AppendColoured(const char* text, COLORREF colour);
    void AppendNameItem(const tagMessageUser* user, COLORREF colour);
    void AppendLink(const char* text, const char* target);
    void AppendWithEmotions(const char* text, COLORREF colour);
    void AppendMarkup(const char* text, COLORREF colour);
    bool AppendEmotion(const tagEmotion& emotion);
    void AppendIcon(int icon);
    void AppendLineBreak(COLORREF colour);
    void AddItem(long first, long end, int kind, const char* data);
    void DeleteIcons();

    CRichEditCtrl* m_pRichEdit;
    COLORREF m_Colours[COLOUR_COUNT];
    CArray<tagEmotion, const tagEmotion&> m_Emotions;
    CArray<tagMessageItem, const tagMessageItem&> m_Items;
    int m_nScrollOption;
    CImageDataObject* m_pIcons[ICON_COUNT];
};

// The markup pass over a line: "&" escaped for the parser and the three
// backslash escapes turned into CR, LF and TAB; double-byte characters are
// copied whole, so a trail byte equal to '\' escapes nothing.
std::string PrepareMarkupText(const char* text, bool escapeAmpersand);
