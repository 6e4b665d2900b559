#include "HallUrl.h"

#include <stdlib.h>
#include <string.h>

#include "HallWindows.h"
#include "TextUnit.h"

namespace
{

const char kScheme[] = "tavrel://";

// Lower-cases only what is not a value: the scheme, the command and the
// keys; account names and passwords keep their case.
CString KeyText(const CString& text)
{
    CString lower(text);
    lower.MakeLower();
    return lower;
}

CString Lookup(const CMapStringToString& map, LPCSTR key)
{
    CString value;
    if (!map.Lookup(key, value))
        value.Empty();
    return value;
}

bool IsCommand(const CString& command, LPCSTR name)
{
    size_t n = strlen(name);
    if (command.GetLength() == (int)n)
        return command == name;
    return command.GetLength() == (int)n + 1 && command.Left((int)n) == name && command[(int)n] == '/';
}

// Decimal value of a link's number; fallback when it is empty. Only the
// leading digits count, as the pages have always written them.
int LinkNumber(const CString& text, int fallback)
{
    if (text.IsEmpty())
        return fallback;
    return atoi(text);
}

int SplitItems(LPCSTR pszText, char chPair, char chItem, CMapStringToString& map, bool lowerKeys)
{
    if (pszText == nullptr || pszText[0] == 0)
        return 0;
    size_t length = strlen(pszText);
    int items = 0;
    size_t start = 0;
    for (size_t pos = 0; pos <= length;) {
        bool end = pos == length || pszText[pos] == chItem;
        if (!end) {
            pos += TextCharSize(pszText, length, pos);
            continue;
        }
        if (pos > start) {
            ++items;
            // First pair separator of the item, on a character boundary.
            for (size_t at = start; at < pos; at += TextCharSize(pszText, length, at)) {
                if (pszText[at] == chPair) {
                    CString key(pszText + start, (int)(at - start));
                    if (lowerKeys)
                        key = KeyText(key);
                    CString value(pszText + at + 1, (int)(pos - at - 1));
                    map.SetAt(key, value);
                    break;
                }
            }
        }
        start = ++pos;
    }
    return items;
}

} // namespace

int SplitKeyValues(LPCSTR pszText, char chPair, char chItem, CMapStringToString& map)
{
    return SplitItems(pszText, chPair, chItem, map, false);
}

bool HandleHallUrl(LPCSTR pszUrl, HWND hLogonWnd)
{
    if (pszUrl == nullptr || pszUrl[0] == 0)
        return false;
    CString link(pszUrl);
    const int schemeLength = (int)strlen(kScheme);
    if (link.GetLength() < schemeLength || KeyText(link.Left(schemeLength)) != kScheme)
        return false;
    int query = link.Find('?', schemeLength);
    if (query < 0)
        return true;
    CString command = KeyText(link.Mid(schemeLength, query - schemeLength));
    if (command.IsEmpty())
        return true;

    CMapStringToString values;
    SplitItems(link.Mid(query + 1), '=', '&', values, true);

    IHallFrameWnd* frame = CHallWindows::GetFrame();
    if (IsCommand(command, "gamelogon")) {
        if (hLogonWnd != nullptr && ::IsWindow(hLogonWnd)) {
            CString name = Lookup(values, "uname"), password = Lookup(values, "upas");
            ::SendMessage(hLogonWnd, WM_HALL_URL_LOGON, (WPARAM)(LPCSTR)name, (LPARAM)(LPCSTR)password);
        }
    } else if (IsCommand(command, "opengamestore") || IsCommand(command, "openitemshop")) {
        if (frame != nullptr)
            frame->ShowItemShop(LinkNumber(Lookup(values, "item"), -1));
    } else if (IsCommand(command, "opengameroom")) {
        if (frame != nullptr)
            frame->EnterRoomById(LinkNumber(Lookup(values, "roomid"), 0));
    }
    return true;
}
