// The hall server's messages: what the data centre keeps of each and which
// notification it raises. Every body goes through a reader that catches its
// own errors, so a malformed body ends its message quietly; what was stored
// before the error stays.
#include "ClientDataCenter.h"

#include <stdlib.h>
#include <string.h>

#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallMessageReader.h"

namespace
{

// The value a single-value message is notified with when its body is
// malformed: never a value that reads as success.
const LONG kMalformedValue = -1;
// What the window of a user-information request hears for a malformed answer.
const LONG kMalformedUserInfo = 4;

// Frees an item the game tree refused (an id it already has).
template <class T> void AddOrDelete(bool bAdded, T* pItem)
{
    if (!bAdded)
        delete pItem;
}

} // namespace

void CClientDataCenter::NotifySerial(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, LPARAM lParam)
{
    tagNotifyHead head = {dwSerialNum, wMainCmdID, wSubCmdID};
    SendSerialNotify(dwSerialNum, WPARAM(&head), lParam);
}

// ---- main 1002: logon, account and own user -------------------------------------------

bool CClientDataCenter::OnUserMessage(DWORD dwSerialNum, WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    switch (wSubCmdID) {
    case 1002: OnLogonResult(dwSerialNum, pData, wDataSize); return true;
    case 1003: OnUserInfoResult(dwSerialNum, pData, wDataSize); return true;
    case 1004:
        if (GetSocket() != NULL)
            GetSocket()->CloseSocket(false);
        Notify(1, 7, 0);
        return true;
    case 1005:
    case 1006:
    case 1007: {
        DWORD dwValue = 0;
        LONG lValue = UnpackRecord(dwValue, pData, wDataSize) ? MapHallResult(dwValue) : kMalformedValue;
        Notify(3, WORD(wSubCmdID - 1004), LPARAM(lValue));
        return true;
    }
    case 1009: {
        LONG lValue = 0;
        if (!UnpackRecord(lValue, pData, wDataSize))
            lValue = kMalformedValue;
        Notify(3, 4, LPARAM(lValue));
        return true;
    }
    case 1010:
    case 1011: {
        bool bValue = true;
        if (!UnpackRecord(bValue, pData, wDataSize))
            bValue = true;
        Notify(3, WORD(wSubCmdID - 1005), LPARAM(bValue ? 1 : 0));
        return true;
    }
    case 1014: {
        DWORD dwValue = 0;
        if (!UnpackRecord(dwValue, pData, wDataSize))
            dwValue = DWORD(kMalformedValue);
        Notify(3, 8, LPARAM(dwValue));
        return true;
    }
    case 1008:
    case 1012: {
        bool bTyped = wSubCmdID == 1008;
        CArray<tagUserAttribute, const tagUserAttribute&> attributes;
        if (bTyped)
            ReadTypedAttributes(attributes, pData, wDataSize);
        else
            ReadTextAttributes(attributes, pData, wDataSize);
        for (INT_PTR i = 0; i < attributes.GetSize(); ++i) {
            const tagUserAttribute& attribute = attributes[i];
            if (!bTyped && (attribute.strText.IsEmpty() || attribute.dwID < 2 || attribute.dwID > 19))
                continue;
            StoreUserAttribute(attribute, bTyped);
            Notify(1, 9, LPARAM(attribute.dwID));
        }
        return true;
    }
    case 1013: {
        tagAccountNotice notice;
        memset(&notice, 0, sizeof(notice));
        if (!UnpackRecord(notice, pData, wDataSize))
            return false;
        Notify(3, 7, LPARAM(&notice));
        return true;
    }
    default: return true;
    }
}

void CClientDataCenter::OnLogonResult(DWORD dwSerialNum, const void* pData, WORD wDataSize)
{
    tagLogonResult result;
    if (!ReadLogonResult(result, pData, wDataSize))
        return;
    tagLogonNotice notice;
    memset(&notice, 0, sizeof(notice));
    if (result.dwResult == 0) {
        tagGlobalUserData* pUserData = g_GlobalUnits.GetGlobalUserData();
        pUserData->dwUserID = result.dwUserID;
        CopyTextField(pUserData->szName, result.szName);
        // A guest's level is -100: the 16 bits carry it signed.
        pUserData->lLevel = LONG(SHORT(result.wLevel));
        if (m_pShareData != NULL)
            m_pShareData->dwUserID = result.dwUserID;
        notice.dwUserID = result.dwUserID;
        notice.cbFlag = result.cbFlag;
        CopyTextField(notice.szName, result.szName);
        g_GlobalOption.SetConnectState(3);
    } else if (m_pShareData != NULL) {
        m_pShareData->dwUserID = 0;
        memset(m_pShareData->szPassword, 0, sizeof(m_pShareData->szPassword));
    }
    notice.lResult = MapHallResult(result.dwResult);
    CopyTextField(notice.szMessage, result.szMessage);
    if (result.dwResult != 0 && GetSocket() != NULL)
        GetSocket()->CloseSocket(true);
    NotifySerial(dwSerialNum, 1, 3, LPARAM(&notice));
}

void CClientDataCenter::OnUserInfoResult(DWORD dwSerialNum, const void* pData, WORD wDataSize)
{
    tagUserInfoResult result;
    if (!UnpackRecord(result, pData, wDataSize)) {
        // Sent to the request's windows, with a plain head.
        LONG lFailure = kMalformedUserInfo;
        tagNotifyHead head = {0, 1, 6};
        SendSerialNotify(dwSerialNum, WPARAM(&head), LPARAM(&lFailure));
        return;
    }
    if (result.dwResult == 0) {
        for (INT_PTR i = 0; i < result.Attributes.GetSize(); ++i) {
            tagUserAttribute attribute;
            attribute.dwID = result.Attributes[i].wID;
            attribute.bText = true;
            attribute.strText = result.Attributes[i].szText;
            StoreUserAttribute(attribute, false);
        }
    }
    LONG lResult = MapHallResult(result.dwResult);
    NotifySerial(dwSerialNum, 1, 6, LPARAM(&lResult));
}

// Text form (subs 1003, 1012): every field from the text, numbers as decimal.
// Typed form (sub 1008): numbers as sent; a text only when not empty, except
// the custom face name, which may be cleared.
bool CClientDataCenter::StoreUserAttribute(const tagUserAttribute& attribute, bool bTyped)
{
    tagGlobalUserData* u = g_GlobalUnits.GetGlobalUserData();
    LONG lNumber = bTyped ? attribute.lValue : LONG(atol(attribute.strText));
    const CString& text = attribute.strText;
    bool bCopyText = !bTyped || !text.IsEmpty();
    switch (attribute.dwID) {
    case 2:
        if (bCopyText)
            CopyTextField(u->szName, text);
        break;
    case 3: u->lLevel = lNumber; break;
    case 4:
        if (bCopyText)
            CopyTextField(u->szNickName, text);
        break;
    case 5: u->cbGender = BYTE(lNumber); break;
    case 6: u->wFaceID = WORD(lNumber); break;
    case 7:
        if (bCopyText)
            CopyTextField(u->szAttribute7, text);
        break;
    case 8:
        if (bCopyText)
            CopyTextField(u->szAttribute8, text);
        break;
    case 9:
        if (bCopyText)
            CopyTextField(u->szAttribute9, text);
        break;
    case 10:
        if (bCopyText)
            CopyTextField(u->szAttribute10, text);
        break;
    case 11:
        if (bCopyText)
            CopyTextField(u->szAttribute11, text);
        break;
    case 12:
        if (bCopyText)
            CopyTextField(u->szAttribute12, text);
        break;
    case 13: CopyTextField(u->szCustomFace, text); break;
    case 14: u->dwGoldEggs = DWORD(lNumber); break;
    case 15:
        if (bCopyText)
            CopyTextField(u->szSignature, text);
        break;
    case 16: u->dwAttribute16 = DWORD(lNumber); break;
    case 17: u->dwAttribute17 = DWORD(lNumber); break;
    case 19: u->cbAttribute19 = BYTE(lNumber); break;
    case 23:
        if (bTyped)
            return false;
        u->dwAttribute23 = DWORD(lNumber);
        break;
    default: return false;
    }
    return true;
}

// ---- main 1003: game lists -----------------------------------------------------------

bool CClientDataCenter::OnGameListMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    switch (wSubCmdID) {
    case 1001:
    case 1003: {
        tagPagedList<tagGameKindItem> list;
        if (!UnpackRecord(list, pData, wDataSize))
            return true;
        for (INT_PTR i = 0; i < list.Items.GetSize(); ++i) {
            const tagGameKindItem& item = list.Items[i];
            if (wSubCmdID == 1001) {
                CGameCategory* pCategory = new CGameCategory(item.dwID);
                pCategory->SetName(item.szName);
                AddOrDelete(m_GameTreeManager.AddGameCategory(pCategory), pCategory);
            } else {
                CGameStation* pStation = new CGameStation(item.dwID);
                pStation->SetName(item.szName);
                AddOrDelete(m_GameTreeManager.AddGameStation(pStation), pStation);
            }
        }
        return true;
    }
    case 1002: {
        tagPagedList<tagGameItem> list;
        if (!UnpackRecord(list, pData, wDataSize))
            return true;
        for (INT_PTR i = 0; i < list.Items.GetSize(); ++i) {
            CGame* pGame = new CGame(list.Items[i].dwID);
            pGame->SetName(list.Items[i].szName);
            pGame->SetFolderName(list.Items[i].szFolderName);
            AddOrDelete(m_GameTreeManager.AddGame(pGame), pGame);
        }
        return true;
    }
    case 1004: {
        tagPagedList<tagGameRoomItem> list;
        if (!UnpackRecord(list, pData, wDataSize))
            return true;
        for (INT_PTR i = 0; i < list.Items.GetSize(); ++i) {
            const tagGameRoomItem& item = list.Items[i];
            CGameRoom* pRoom = new CGameRoom(item.dwRoomID);
            pRoom->SetName(item.szName);
            pRoom->SetServerAddresses(item.strAddressList);
            pRoom->SetPort(item.wPort);
            pRoom->SetGameId(item.dwGameID);
            pRoom->SetRoomKind(item.cbRoomKind);
            pRoom->SetChannelValue(item.wChannelValue);
            AddOrDelete(m_GameTreeManager.AddGameRoom(pRoom), pRoom);
        }
        return true;
    }
    case 1005: {
        tagPagedList<tagGameWebItem> list;
        if (!UnpackRecord(list, pData, wDataSize))
            return true;
        for (INT_PTR i = 0; i < list.Items.GetSize(); ++i) {
            CGameWeb* pWeb = new CGameWeb(list.Items[i].dwID);
            pWeb->SetName(list.Items[i].szName);
            pWeb->SetLink(list.Items[i].szLink);
            AddOrDelete(m_GameTreeManager.AddGameWeb(pWeb), pWeb);
        }
        return true;
    }
    case 1007:
    case 1008: OnTreeLinks(wSubCmdID, pData, wDataSize); return true;
    default: return true;
    }
}

void CClientDataCenter::OnTreeLinks(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    tagPagedList<tagTreeLinkItem> list;
    if (!UnpackRecord(list, pData, wDataSize))
        return;
    bool bServerTree = wSubCmdID == 1007;
    CTreeLinkArray& links = bServerTree ? m_ServerTreeLinks : m_SecondTreeLinks;
    CGameTreeNode*& pRoot = bServerTree ? m_pServerTreeRoot : m_pSecondTreeRoot;
    // The second tree comes in one piece: its offset counts as 0.
    LONGLONG llOffset = bServerTree ? list.lOffset : 0;
    if (bServerTree && llOffset == 0)
        links.RemoveAll();
    for (INT_PTR i = 0; i < list.Items.GetSize(); ++i)
        links.Add(list.Items[i]);
    if (llOffset + list.Items.GetSize() < LONGLONG(list.lTotal))
        return;
    delete pRoot;
    pRoot = new CGameTreeNode(0);
    BuildTree(links, pRoot);
    Notify(2, bServerTree ? 5 : 6, 0);
}

// ---- main 1004: online counts ----------------------------------------------------------

bool CClientDataCenter::OnOnlineCountMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    if (wSubCmdID == 1001) {
        DWORD dwTotal = 0;
        if (!UnpackRecord(dwTotal, pData, wDataSize))
            return true;
        m_GameTreeManager.SetTotalOnline(dwTotal);
        Notify(2, 7, 0);
    } else if (wSubCmdID == 1002) {
        tagPagedList<tagOnlineCountItem> list;
        if (!UnpackRecord(list, pData, wDataSize) || list.Items.GetSize() == 0)
            return true;
        for (INT_PTR i = 0; i < list.Items.GetSize(); ++i) {
            CGameRoom* pRoom = m_GameTreeManager.FindGameRoom(list.Items[i].dwRoomID);
            if (pRoom != NULL)
                pRoom->SetOnlineCount(list.Items[i].dwOnlineCount);
        }
        m_GameTreeManager.ComputeTotalOnline();
        Notify(2, 7, 0);
    }
    return true;
}

// ---- mains 1005 to 1007 ----------------------------------------------------------------

bool CClientDataCenter::OnSystemMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    if (wSubCmdID == 1001) {
        tagSystemMessage message;
        memset(&message, 0, sizeof(message));
        if (UnpackRecord(message, pData, wDataSize))
            Notify(4, 1, LPARAM(&message));
    } else if (wSubCmdID == 1002) {
        tagCountedString text;
        if (UnpackRecord(text, pData, wDataSize) && m_PopupHandler)
            m_PopupHandler(text.strText);
    }
    return true;
}

bool CClientDataCenter::OnValuePairMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    tagValuePair pair;
    if (wSubCmdID == 1001 && UnpackRecord(pair, pData, wDataSize))
        Notify(5, 1, LPARAM(DWORD(pair.wFirst) * 65536 + pair.wSecond));
    return true;
}

bool CClientDataCenter::OnUserValueMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    switch (wSubCmdID) {
    case 1001: {
        CArray<tagUserValueItem, const tagUserValueItem&> items;
        ReadWordCountedList(items, pData, wDataSize);
        for (INT_PTR i = 0; i < items.GetSize(); ++i) {
            tagUserValueItem item = items[i];
            Notify(6, 1, LPARAM(&item));
        }
        break;
    }
    case 1002: {
        tagUserValueItem item;
        if (UnpackRecord(item, pData, wDataSize))
            Notify(6, 1, LPARAM(&item));
        break;
    }
    case 1003: {
        BYTE cbValue = 0;
        if (UnpackRecord(cbValue, pData, wDataSize))
            Notify(6, 2, LPARAM(cbValue));
        break;
    }
    }
    return true;
}

// ---- main 1008: record store -----------------------------------------------------------

bool CClientDataCenter::OnRecordStoreMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    switch (wSubCmdID) {
    case 1001: {
        tagStoreDefinition* pDefinition = new tagStoreDefinition;
        memset(pDefinition, 0, sizeof(*pDefinition));
        if (UnpackRecord(*pDefinition, pData, wDataSize)) {
            m_RecordStore.UpsertDefinition(*pDefinition);
            Notify(7, 1, LPARAM(pDefinition->dwID));
        }
        delete pDefinition;
        break;
    }
    case 1002:
    case 1003: {
        CArray<tagStoreEntryA, const tagStoreEntryA&> entries;
        if (wSubCmdID == 1002) {
            ReadWordCountedList(entries, pData, wDataSize);
        } else {
            tagStoreEntryA entry;
            if (UnpackRecord(entry, pData, wDataSize))
                entries.Add(entry);
        }
        for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
            m_RecordStore.UpsertEntryA(entries[i]);
            Notify(7, 2, LPARAM(entries[i].dwID));
        }
        break;
    }
    case 1005:
    case 1006: {
        CArray<tagStoreEntryC, const tagStoreEntryC&> entries;
        if (wSubCmdID == 1005) {
            ReadWordCountedList(entries, pData, wDataSize);
        } else {
            tagStoreEntryC entry;
            if (UnpackRecord(entry, pData, wDataSize))
                entries.Add(entry);
        }
        for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
            DWORD dwID = entries[i].dwID;
            m_RecordStore.UpsertEntryC(entries[i]);
            if (wSubCmdID == 1005 && m_RecordStore.FindDefinition(dwID) == NULL)
                RequestStoreRecord1(dwID);
            Notify(7, wSubCmdID == 1005 ? 4 : 5, LPARAM(dwID));
        }
        break;
    }
    case 1004:
    case 1007: {
        DWORD dwID = 0;
        if (!UnpackRecord(dwID, pData, wDataSize))
            break;
        Notify(7, wSubCmdID == 1004 ? 3 : 6, LPARAM(dwID));
        if (wSubCmdID == 1004)
            m_RecordStore.RemoveEntryA(dwID);
        else
            m_RecordStore.RemoveEntryC(dwID);
        break;
    }
    case 1008:
    case 1009: {
        tagStoreValueChange change;
        if (!UnpackRecord(change, pData, wDataSize))
            break;
        m_RecordStore.SetEntryCNumber(change.dwID, change.cbIndex, change.wValue);
        Notify(7, wSubCmdID == 1008 ? 7 : 8, LPARAM(change.dwID));
        break;
    }
    case 1010:
    case 1011:
    case 1012:
    case 1013:
    case 1014: {
        // Sub 1013 is notified as 11 and sub 1012 as 12.
        static const WORD kNotifySub[] = {9, 10, 12, 11, 13};
        DWORD dwValue = 0;
        if (UnpackRecord(dwValue, pData, wDataSize))
            Notify(7, kNotifySub[wSubCmdID - 1010], LPARAM(dwValue));
        break;
    }
    }
    return true;
}

// ---- main 1010: teams -------------------------------------------------------------------

bool CClientDataCenter::OnTeamMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    if (wSubCmdID != 1001)
        return true;
    CTeamManager* pTeam = new CTeamManager;
    if (!ReadTeam(*pTeam, pData, wDataSize)) {
        delete pTeam;
        return true;
    }
    DWORD dwTeamID = pTeam->GetTeamID();
    CTeamManager* pOld = NULL;
    if (m_TeamMap.Lookup(dwTeamID, pOld))
        delete pOld;
    m_TeamMap.SetAt(dwTeamID, pTeam);
    Notify(8, 1, LPARAM(dwTeamID));
    return true;
}
