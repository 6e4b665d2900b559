#include "Message.h"

DWORD CMessage::s_dwSerialNum = 0;

CMessage::CMessage() : m_dwNotifyMessage(0), m_SerialMap(10), m_NotifyMap(10) {}

CMessage::~CMessage()
{
    DeleteLists(m_SerialMap);
    DeleteLists(m_NotifyMap);
}

DWORD CMessage::NextSerialNumber()
{
    if (++s_dwSerialNum == 0)
        ++s_dwSerialNum;
    return s_dwSerialNum;
}

void CMessage::SetSerialNumber(DWORD value)
{
    s_dwSerialNum = value;
}

void CMessage::AddSerialWindow(DWORD serial, HWND window)
{
    AddWindow(m_SerialMap, serial, window);
}

void CMessage::AddNotifyWindow(WORD mainCmdID, WORD subCmdID, HWND window)
{
    AddWindow(m_NotifyMap, MakeKey(mainCmdID, subCmdID), window);
}

void CMessage::RemoveNotifyWindow(WORD mainCmdID, WORD subCmdID, HWND window)
{
    DWORD key = MakeKey(mainCmdID, subCmdID);
    BN_INFO* list = NULL;
    if (!m_NotifyMap.Lookup(key, list))
        return;
    for (INT_PTR i = list->GetSize() - 1; i >= 0; --i) {
        if (list->GetAt(i) == window)
            list->RemoveAt(i);
    }
    if (list->GetSize() == 0) {
        m_NotifyMap.RemoveKey(key);
        delete list;
    }
}

int CMessage::GetSerialWindows(DWORD serial, BN_INFO& out) const
{
    return CopyWindows(m_SerialMap, serial, out);
}

int CMessage::GetNotifyWindows(WORD mainCmdID, WORD subCmdID, BN_INFO& out) const
{
    return CopyWindows(m_NotifyMap, MakeKey(mainCmdID, subCmdID), out);
}

// Touches no member after the first send: a receiver may delete the data
// centre that is notifying it.
void CMessage::SendToWindows(const BN_INFO& windows, WPARAM wParam, LPARAM lParam)
{
    UINT message = m_dwNotifyMessage;
    if (message == 0)
        return;
    for (INT_PTR i = 0; i < windows.GetSize(); ++i) {
        HWND window = windows.GetAt(i);
        if (IsWindow(window))
            SendMessage(window, message, wParam, lParam);
    }
}

void CMessage::SendSerialNotify(DWORD serial, WPARAM wParam, LPARAM lParam)
{
    SendToKey(m_SerialMap, serial, wParam, lParam);
}

void CMessage::SendNotify(WORD mainCmdID, WORD subCmdID, WPARAM wParam, LPARAM lParam)
{
    SendToKey(m_NotifyMap, MakeKey(mainCmdID, subCmdID), wParam, lParam);
}

void CMessage::PostNotify(const tagNotifyHead* head, LPARAM lParam)
{
    if (m_dwNotifyMessage == 0 || head == NULL)
        return;
    BN_INFO windows;
    if (CopyWindows(m_NotifyMap, MakeKey(head->wMainCmdID, head->wSubCmdID), windows) <= 0)
        return;
    for (INT_PTR i = 0; i < windows.GetSize(); ++i) {
        HWND window = windows.GetAt(i);
        if (IsWindow(window))
            PostMessage(window, m_dwNotifyMessage, (WPARAM)head, lParam);
    }
}

void CMessage::Notify(WORD mainCmdID, WORD subCmdID, LPARAM lParam)
{
    tagNotifyHead head = {0, mainCmdID, subCmdID};
    SendNotify(mainCmdID, subCmdID, (WPARAM)&head, lParam);
}

void CMessage::AddWindow(CWindowMap& map, DWORD key, HWND window)
{
    if (window == NULL)
        return;
    BN_INFO* list = NULL;
    if (!map.Lookup(key, list)) {
        list = new BN_INFO;
        map.SetAt(key, list);
    }
    for (INT_PTR i = 0; i < list->GetSize(); ++i) {
        if (list->GetAt(i) == window)
            return;
    }
    list->Add(window);
}

int CMessage::CopyWindows(const CWindowMap& map, DWORD key, BN_INFO& out)
{
    BN_INFO* list = NULL;
    if (!map.Lookup(key, list))
        return -1;
    out.Copy(*list);
    return int(out.GetSize());
}

void CMessage::DeleteLists(CWindowMap& map)
{
    POSITION pos = map.GetStartPosition();
    while (pos != NULL) {
        DWORD key = 0;
        BN_INFO* list = NULL;
        map.GetNextAssoc(pos, key, list);
        delete list;
    }
    map.RemoveAll();
}

// Sends from a copy, so a window may unregister (itself or another) while it
// is being notified.
void CMessage::SendToKey(const CWindowMap& map, DWORD key, WPARAM wParam, LPARAM lParam)
{
    BN_INFO windows;
    if (CopyWindows(map, key, windows) <= 0)
        return;
    SendToWindows(windows, wParam, lParam);
}
