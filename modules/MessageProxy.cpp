#include "MessageProxy.h"

#include <stdio.h>
#include <string.h>

#include <tinyxml.h>

#include "Corvath.h"
#include "ImageDataObject.h"
#include "IniFile.h"
#include "Picture.h"
#include "TextUnit.h"

namespace
{

const COLORREF kDefaultColours[CMessageProxy::COLOUR_COUNT] = {
    RGB(255, 255, 255), RGB(0, 0, 255), RGB(255, 0, 0), RGB(255, 0, 0), RGB(157, 240, 170), RGB(197, 249, 255),
};
static_assert(sizeof(kDefaultColours) == MESSAGE_STYLE_SIZE, "colour block size");

const char* const kIconFiles[CMessageProxy::ICON_COUNT] = {"system.bmp", "player.bmp", "speaker.bmp", "activity.bmp"};

// "folder\name" into a path field; false when it does not fit.
bool JoinFolder(char (&path)[MAX_PATH], const char* folder, const char* name)
{
    int length = snprintf(path, sizeof(path), "%s\\%s", folder, name);
    if (length < 0 || length >= int(sizeof(path))) {
        path[0] = '\0';
        return false;
    }
    return true;
}

bool FileReadable(const char* path)
{
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

// Ordinary text clears what a name or link before it leaves at the end.
CHARFORMAT2 TextFormat(COLORREF colour)
{
    CHARFORMAT2 format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR | CFM_LINK | CFM_PROTECTED;
    format.crTextColor = colour;
    return format;
}

template <class T> void ReleaseAndNull(T*& p)
{
    if (p != NULL) {
        p->Release();
        p = NULL;
    }
}

} // namespace

std::string PrepareMarkupText(const char* text, bool escapeAmpersand)
{
    std::string out;
    size_t length = strlen(text);
    out.reserve(length + 16);
    for (size_t i = 0; i < length;) {
        size_t size = TextCharSize(text, length, i);
        if (size == 2) {
            out.append(text + i, 2);
        } else if (text[i] == '&' && escapeAmpersand) {
            out += "&amp;";
        } else if (text[i] == '\\' && i + 1 < length && strchr("rnt", text[i + 1]) != NULL) {
            out += text[i + 1] == 'r' ? '\r' : text[i + 1] == 'n' ? '\n' : '\t';
            size = 2;
        } else {
            out += text[i];
        }
        i += size;
    }
    return out;
}

CMessageProxy::CMessageProxy() : m_pRichEdit(NULL), m_nScrollOption(0)
{
    memcpy(m_Colours, kDefaultColours, sizeof(m_Colours));
    for (CImageDataObject*& icon : m_pIcons)
        icon = NULL;
}

CMessageProxy::~CMessageProxy()
{
    DeleteIcons();
}

HRESULT CMessageProxy::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IMessageProxy) || IsEqualGUID(iid, IID_IMessageProxy2) || IsEqualGUID(iid, IID_IUnknownEx))
        return Answer(static_cast<IMessageProxy2*>(this), out);
    *out = NULL;
    return E_NOINTERFACE;
}

void CMessageProxy::DeleteIcons()
{
    for (CImageDataObject*& icon : m_pIcons)
        ReleaseAndNull(icon);
}

bool CMessageProxy::SetRichEdit(CWnd* pRichEdit)
{
    if (pRichEdit == NULL || pRichEdit->GetSafeHwnd() == NULL)
        return false;
    // The class library's rich edit adds no data to CWnd: its calls are
    // messages to the window.
    m_pRichEdit = static_cast<CRichEditCtrl*>(pRichEdit);
    // Through the control's options: the rich edit keeps these bits itself.
    m_pRichEdit->SetOptions(ECOOP_AND, ~DWORD(ECO_NOHIDESEL));
    m_pRichEdit->SetOptions(ECOOP_OR, ECO_READONLY | ECO_AUTOVSCROLL);
    return true;
}

bool CMessageProxy::SetStyle(const void* colours)
{
    if (colours == NULL)
        return false;
    memcpy(m_Colours, colours, MESSAGE_STYLE_SIZE);
    return true;
}

bool CMessageProxy::LoadConfig(const char* dir)
{
    if (dir == NULL || *dir == '\0')
        return false;
    char file[MAX_PATH];
    if (!JoinFolder(file, dir, "config.ini") || !FileReadable(file))
        return false;

    m_Emotions.RemoveAll();
    CIniFile ini(file);
    int count = ini.GetInt("emotion", "Count", 0);
    for (int i = 0; i < count; ++i) {
        char section[32];
        snprintf(section, sizeof(section), "em%d", i);
        CString code, path, name;
        ini.GetString(section, "emotion", code);
        ini.GetString(section, "path", path);
        ini.GetString(section, "name", name);
        // Codes are found at a "/"; an empty one would match everywhere.
        if (code.IsEmpty())
            continue;
        tagEmotion emotion = {};
        TextCopyField(emotion.szCode, code);
        TextCopyField(emotion.szName, name);
        if (!JoinFolder(emotion.szPath, dir, path))
            continue;
        m_Emotions.Add(emotion);
    }
    return true;
}

bool CMessageProxy::LoadTypeIcons(const char* dir)
{
    DeleteIcons();
    if (dir == NULL || *dir == '\0')
        return false;
    bool all = true;
    HDC screen = ::GetDC(NULL);
    for (int i = 0; i < ICON_COUNT; ++i) {
        char path[MAX_PATH];
        CPicture picture;
        if (!JoinFolder(path, dir, kIconFiles[i]) || !picture.Load(path) || !picture.IncreaseBpp(24)) {
            all = false;
            continue;
        }
        picture.SetTransColor(CPicture::RgbToQuad(RGB(255, 0, 255)));
        picture.SetTransIndex(0);
        int cx = int(picture.GetWidth()), cy = int(picture.GetHeight());
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, cx, cy);
        HDC dc = ::CreateCompatibleDC(screen);
        if (bitmap == NULL || dc == NULL) {
            if (bitmap != NULL)
                ::DeleteObject(bitmap);
            if (dc != NULL)
                ::DeleteDC(dc);
            all = false;
            continue;
        }
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        HBRUSH back = ::CreateSolidBrush(m_Colours[COLOUR_ICON_BACK]);
        RECT rect = {0, 0, cx, cy};
        ::FillRect(dc, &rect, back);
        ::DeleteObject(back);
        picture.Draw(dc, 0, 0);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        m_pIcons[i] = new CImageDataObject;
        m_pIcons[i]->SetBitmap(bitmap);
    }
    ::ReleaseDC(NULL, screen);
    return all;
}

bool CMessageProxy::Clear()
{
    if (!IsAttached())
        return false;
    m_pRichEdit->SetWindowText("");
    m_Items.RemoveAll();
    return true;
}

bool CMessageProxy::SetOption(int option)
{
    m_nScrollOption = option;
    return true;
}

bool CMessageProxy::IsAttached()
{
    return m_pRichEdit != NULL && ::IsWindow(m_pRichEdit->GetSafeHwnd());
}

bool CMessageProxy::IsAttached2()
{
    return IsAttached();
}

bool CMessageProxy::CanWrite(const char* text)
{
    return text != NULL && *text != '\0' && IsAttached();
}

bool CMessageProxy::InsertTime(COLORREF colour)
{
    if (!IsAttached())
        return false;
    CTime now = AfxGetCurrentTime();
    char stamp[32];
    snprintf(stamp, sizeof(stamp), "［%02d:%02d:%02d］", now.GetHour(), now.GetMinute(), now.GetSecond());
    AppendColoured(stamp, colour);
    return true;
}

bool CMessageProxy::InsertSystemText(const char* text)
{
    if (!CanWrite(text))
        return false;
    AppendIcon(ICON_SYSTEM);
    AppendColoured(" ", m_Colours[COLOUR_NAME]);
    AppendMarkup(text, m_Colours[COLOUR_SYSTEM]);
    AppendLineBreak(m_Colours[COLOUR_SYSTEM]);
    return true;
}

bool CMessageProxy::InsertText(const char* text, COLORREF colour, BOOL newLine)
{
    if (!CanWrite(text))
        return false;
    AppendMarkup(text, colour);
    if (newLine)
        AppendLineBreak(colour);
    return true;
}

bool CMessageProxy::InsertPlainText(const char* text, COLORREF colour, BOOL newLine)
{
    if (!CanWrite(text))
        return false;
    AppendColoured(text, colour);
    if (newLine)
        AppendLineBreak(colour);
    return true;
}

bool CMessageProxy::InsertUserSays(const tagMessageUser* user, const char* text, COLORREF colour)
{
    if (user == NULL || !CanWrite(text))
        return false;
    AppendIcon(ICON_PLAYER);
    AppendColoured(" ", m_Colours[COLOUR_NAME]);
    AppendNameItem(user, m_Colours[COLOUR_NAME]);
    AppendColoured("说:", m_Colours[COLOUR_NAME]);
    AppendWithEmotions(text, colour);
    AppendLineBreak(colour);
    return true;
}

bool CMessageProxy::InsertUserToUser(const tagMessageUser* user, const tagMessageUser* other, const char* text,
                                     COLORREF colour)
{
    if (user == NULL || other == NULL || !CanWrite(text))
        return false;
    AppendIcon(ICON_PLAYER);
    AppendColoured(" ", m_Colours[COLOUR_NAME]);
    AppendNameItem(user, m_Colours[COLOUR_NAME]);
    AppendColoured("对", m_Colours[COLOUR_NAME]);
    AppendNameItem(other, m_Colours[COLOUR_NAME]);
    AppendColoured("说:", m_Colours[COLOUR_NAME]);
    AppendWithEmotions(text, colour);
    AppendLineBreak(colour);
    return true;
}

bool CMessageProxy::InsertSpeakerText(const tagMessageUser* user, const char* text)
{
    if (user == NULL || !CanWrite(text))
        return false;
    AppendIcon(ICON_SPEAKER);
    AppendColoured(" ", m_Colours[COLOUR_NAME]);
    AppendNameItem(user, m_Colours[COLOUR_SPEAKER_NAME]);
    AppendColoured("说:", m_Colours[COLOUR_SPEAKER_NAME]);
    AppendWithEmotions(text, m_Colours[COLOUR_SPEAKER_TEXT]);
    AppendLineBreak(m_Colours[COLOUR_SPEAKER_TEXT]);
    return true;
}

bool CMessageProxy::InsertActivityText(const char* text, COLORREF colour)
{
    if (!CanWrite(text))
        return false;
    AppendIcon(ICON_ACTIVITY);
    AppendColoured(" ", m_Colours[COLOUR_NAME]);
    AppendMarkup(text, colour);
    AppendLineBreak(colour);
    return true;
}

bool CMessageProxy::FindLinkItem(int charPos, tagMessageItem* out)
{
    if (out == NULL)
        return false;
    for (INT_PTR i = 0; i < m_Items.GetSize(); ++i) {
        const tagMessageItem& item = m_Items[i];
        if (item.nFirst <= charPos && charPos <= item.nLast) {
            *out = item;
            return true;
        }
    }
    return false;
}

// ------------------------------------------------------------------ appending

void CMessageProxy::BeginAppend(AppendState& state)
{
    m_pRichEdit->GetSel(state.selection);
    ::SendMessage(m_pRichEdit->m_hWnd, EM_GETSCROLLPOS, 0, (LPARAM)&state.scroll);
    m_pRichEdit->SetSel(-1, -1);
}

void CMessageProxy::EndAppend(const AppendState& state)
{
    if (state.selection.cpMin != state.selection.cpMax) {
        // The reader is marking text: the marking and the view stay.
        CHARRANGE selection = state.selection;
        m_pRichEdit->SetSel(selection);
        POINT scroll = state.scroll;
        ::SendMessage(m_pRichEdit->m_hWnd, EM_SETSCROLLPOS, 0, (LPARAM)&scroll);
    } else if (m_nScrollOption != 0) {
        m_pRichEdit->PostMessage(WM_VSCROLL, SB_BOTTOM, 0);
    }
}

void CMessageProxy::AppendRun(const char* text, CHARFORMAT2& format, long* first, long* end)
{
    AppendState state;
    BeginAppend(state);
    long start = 0, stop = 0;
    m_pRichEdit->GetSel(start, stop);
    m_pRichEdit->SetSelectionCharFormat(format);
    m_pRichEdit->ReplaceSel(text, FALSE);
    if (first != NULL)
        *first = start;
    if (end != NULL)
        m_pRichEdit->GetSel(start, *end);
    EndAppend(state);
}

void CMessageProxy::AppendColoured(const char* text, COLORREF colour)
{
    if (*text == '\0')
        return;
    CHARFORMAT2 format = TextFormat(colour);
    AppendRun(text, format);
}

void CMessageProxy::AppendLineBreak(COLORREF colour)
{
    AppendColoured("\r\n", colour);
}

void CMessageProxy::AddItem(long first, long end, int kind, const char* data)
{
    tagMessageItem item = {};
    item.nFirst = int(first);
    item.nLast = int(end - 1);
    item.nKind = kind;
    TextCopyField(item.szData, data);
    m_Items.Add(item);
}

void CMessageProxy::AppendNameItem(const tagMessageUser* user, COLORREF colour)
{
    char name[sizeof(user->szNickName) + 1];
    TextCopyField(name, sizeof(name), user->szNickName, strnlen(user->szNickName, sizeof(user->szNickName)));
    char bracketed[sizeof(name) + 2];
    snprintf(bracketed, sizeof(bracketed), "[%s]", name);

    CHARFORMAT2 format = TextFormat(colour);
    format.dwEffects = CFE_PROTECTED;
    long first = 0, end = 0;
    AppendRun(bracketed, format, &first, &end);
    char id[16];
    snprintf(id, sizeof(id), "%lu", (unsigned long)user->dwUserID);
    AddItem(first, end, MESSAGE_ITEM_USER, id);
}

void CMessageProxy::AppendLink(const char* text, const char* target)
{
    if (*text == '\0')
        return;
    CHARFORMAT2 format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_LINK | CFM_PROTECTED;
    format.dwEffects = CFE_LINK;
    long first = 0, end = 0;
    AppendRun(text, format, &first, &end);
    AddItem(first, end, MESSAGE_ITEM_LINK, target);
}

void CMessageProxy::AppendWithEmotions(const char* text, COLORREF colour)
{
    // '/' is never a trail byte, so a byte scan finds only real slashes.
    const char* run = text;
    const char* slash = strchr(text, '/');
    while (slash != NULL) {
        const tagEmotion* found = NULL;
        size_t codeLength = 0;
        for (INT_PTR i = 0; i < m_Emotions.GetSize(); ++i) {
            const tagEmotion& emotion = m_Emotions[i];
            size_t length = strlen(emotion.szCode);
            if (length != 0 && strncmp(slash, emotion.szCode, length) == 0) {
                found = &emotion;
                codeLength = length;
                break;
            }
        }
        if (found == NULL) {
            slash = strchr(slash + 1, '/');
            continue;
        }
        if (slash > run)
            AppendColoured(std::string(run, slash).c_str(), colour);
        AppendEmotion(*found);
        run = slash + codeLength;
        slash = strchr(run, '/');
    }
    m_pRichEdit->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    AppendColoured(run, colour);
}

void CMessageProxy::AppendMarkup(const char* text, COLORREF colour)
{
    std::string xml = "<root>" + PrepareMarkupText(text, true) + "</root>";
    bool condensed = TiXmlBase::IsWhiteSpaceCondensed();
    TiXmlBase::SetCondenseWhiteSpace(false);
    TiXmlDocument document;
    document.Parse(xml.c_str(), NULL, TIXML_ENCODING_LEGACY);
    TiXmlBase::SetCondenseWhiteSpace(condensed);

    const TiXmlElement* root = document.RootElement();
    if (document.Error() || root == NULL) {
        // A bare "<" in a system text must not lose the line.
        AppendWithEmotions(PrepareMarkupText(text, false).c_str(), colour);
        return;
    }
    for (const TiXmlNode* node = root->FirstChild(); node != NULL; node = node->NextSibling()) {
        if (const TiXmlElement* element = node->ToElement()) {
            if (strcmp(element->Value(), "a") != 0)
                continue;
            const char* linkText = element->GetText();
            const char* target = element->Attribute("href");
            AppendLink(linkText != NULL ? linkText : "", target != NULL ? target : "");
        } else if (const TiXmlText* textNode = node->ToText()) {
            AppendWithEmotions(textNode->Value(), colour);
        }
    }
}

bool CMessageProxy::AppendEmotion(const tagEmotion& emotion)
{
    IRichEditOle* richEditOle = m_pRichEdit->GetIRichEditOle();
    if (richEditOle == NULL)
        return false;
    bool inserted = false;
    IOleClientSite* site = NULL;
    ILockBytes* bytes = NULL;
    IStorage* storage = NULL;
    IOleObject* object = NULL;
    ICorvathPicture* picture = NULL;
    // Each step answers a result: a component that fails leaves this emotion out.
    if (richEditOle->GetClientSite(&site) == S_OK && ::CreateILockBytesOnHGlobal(NULL, TRUE, &bytes) == S_OK &&
        ::StgCreateDocfileOnILockBytes(bytes, STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_READWRITE, 0, &storage) ==
            S_OK &&
        ::CoCreateInstance(CLSID_Corvath, NULL, CLSCTX_INPROC_SERVER, IID_IOleObject, (void**)&object) == S_OK &&
        object->QueryInterface(IID_ICorvathPicture, (void**)&picture) == S_OK &&
        SUCCEEDED(picture->ShowFile(emotion.szPath))) {
        ::OleSetContainedObject(object, TRUE);
        object->SetClientSite(site);
        REOBJECT reobject = {};
        reobject.cbStruct = sizeof(reobject);
        reobject.clsid = CLSID_Corvath;
        reobject.cp = REO_CP_SELECTION;
        reobject.dvaspect = DVASPECT_CONTENT;
        reobject.dwFlags = REO_BELOWBASELINE;
        reobject.poleobj = object;
        reobject.polesite = site;
        reobject.pstg = storage;

        AppendState state;
        BeginAppend(state);
        inserted = richEditOle->InsertObject(&reobject) == S_OK;
        EndAppend(state);
        if (!inserted)
            object->Close(OLECLOSE_NOSAVE);
    }
    ReleaseAndNull(picture);
    ReleaseAndNull(object);
    ReleaseAndNull(storage);
    ReleaseAndNull(bytes);
    ReleaseAndNull(site);
    richEditOle->Release();
    return inserted;
}

void CMessageProxy::AppendIcon(int icon)
{
    if (m_pIcons[icon] == NULL)
        return;
    IRichEditOle* richEditOle = m_pRichEdit->GetIRichEditOle();
    if (richEditOle == NULL)
        return;
    AppendState state;
    BeginAppend(state);
    CImageDataObject::InsertBitmap(richEditOle, m_pIcons[icon]);
    EndAppend(state);
    richEditOle->Release();
}
