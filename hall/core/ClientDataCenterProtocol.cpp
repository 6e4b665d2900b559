// The hall server's messages: what the data centre keeps of each and which
// notification it raises. Every body goes through a reader that catches its
// own errors, so a malformed body ends its message quietly; what was stored
// before the error stays.
#include "ClientDataCenter.h"

#include "HallProtocol.h"

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
// The most tree links room is made for ahead of their pages.
const LONGLONG kMaxReservedLinks = 0x10000;

// Frees an item the game tree refused (an id it already has).
template <class T> void AddOrDelete(bool bAdded, T* pItem)
{
    if (!bAdded)
        delete pItem;
}

} // namespace

void CClientDataCenter::NotifySerial(DWORD dwSerialNum, const tagNotifyKey& key, LPARAM lParam)
{
    tagNotifyHead head = {dwSerialNum, key.wMainCmdID, key.wSubCmdID};
    SendSerialNotify(dwSerialNum, WPARAM(&head), lParam);
}

// ---- HALL_MAIN_USER: logon, account and own user --------------------------------------

bool CClientDataCenter::OnUserMessage(DWORD dwSerialNum, WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    switch (wSubCmdID) {
    case HALL_SUB_S_USER_LOGON_RESULT: OnLogonResult(dwSerialNum, pData, wDataSize); return true;
    case HALL_SUB_S_USER_INFO_RESULT: OnUserInfoResult(dwSerialNum, pData, wDataSize); return true;
    case HALL_SUB_S_USER_SESSION_ENDED:
        if (GetSocket() != NULL)
            GetSocket()->CloseSocket(false);
        Notify(HN_SESSION_ENDED, 0);
        return true;
    case HALL_SUB_S_USER_ACCOUNT_1:
    case HALL_SUB_S_USER_ACCOUNT_2:
    case HALL_SUB_S_USER_ACCOUNT_3: {
        DWORD dwValue = 0;
        LONG lValue = UnpackRecord(dwValue, pData, wDataSize) ? MapHallResult(dwValue) : kMalformedValue;
        static const tagNotifyKey kKeys[] = {HN_ACCOUNT_1, HN_ACCOUNT_2, HN_ACCOUNT_3};
        Notify(kKeys[wSubCmdID - HALL_SUB_S_USER_ACCOUNT_1], LPARAM(lValue));
        return true;
    }
    case HALL_SUB_S_USER_REGISTER_RESULT: {
        LONG lValue = 0;
        if (!UnpackRecord(lValue, pData, wDataSize))
            lValue = kMalformedValue;
        Notify(HN_REGISTER_RESULT, LPARAM(lValue));
        return true;
    }
    case HALL_SUB_S_USER_ACCOUNT_CHECK:
    case HALL_SUB_S_USER_EMAIL_CHECK: {
        bool bValue = true;
        if (!UnpackRecord(bValue, pData, wDataSize))
            bValue = true;
        Notify(wSubCmdID == HALL_SUB_S_USER_ACCOUNT_CHECK ? HN_ACCOUNT_CHECK : HN_EMAIL_CHECK, LPARAM(bValue ? 1 : 0));
        return true;
    }
    case HALL_SUB_S_USER_VALUE_1014: {
        DWORD dwValue = 0;
        if (!UnpackRecord(dwValue, pData, wDataSize))
            dwValue = DWORD(kMalformedValue);
        Notify(HN_USER_VALUE_1014, LPARAM(dwValue));
        return true;
    }
    case HALL_SUB_S_USER_TYPED_ATTRIBUTES:
    case HALL_SUB_S_USER_TEXT_ATTRIBUTES: {
        bool bTyped = wSubCmdID == HALL_SUB_S_USER_TYPED_ATTRIBUTES;
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
            Notify(HN_USER_ATTRIBUTE, LPARAM(attribute.dwID));
        }
        return true;
    }
    case HALL_SUB_S_USER_ACCOUNT_NOTICE: {
        tagAccountNotice notice;
        memset(&notice, 0, sizeof(notice));
        if (!UnpackRecord(notice, pData, wDataSize))
            return false;
        Notify(HN_ACCOUNT_NOTICE, LPARAM(&notice));
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
    NotifySerial(dwSerialNum, HN_LOGON_RESULT, LPARAM(&notice));
}

void CClientDataCenter::OnUserInfoResult(DWORD dwSerialNum, const void* pData, WORD wDataSize)
{
    tagUserInfoResult result;
    if (!UnpackRecord(result, pData, wDataSize)) {
        // Sent to the request's windows, with a plain head.
        LONG lFailure = kMalformedUserInfo;
        tagNotifyHead head = {0, HN_USER_INFO_RESULT.wMainCmdID, HN_USER_INFO_RESULT.wSubCmdID};
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
    NotifySerial(dwSerialNum, HN_USER_INFO_RESULT, LPARAM(&lResult));
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

// ---- HALL_MAIN_GAME_LIST: game lists -------------------------------------------------

bool CClientDataCenter::OnGameListMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    switch (wSubCmdID) {
    case HALL_SUB_S_GAME_LIST_CATEGORIES:
    case HALL_SUB_S_GAME_LIST_STATIONS: {
        tagPagedList<tagGameKindItem> list;
        if (!UnpackRecordInPlace(list, pData, wDataSize))
            return true;
        for (INT_PTR i = 0; i < list.Items.GetSize(); ++i) {
            const tagGameKindItem& item = list.Items[i];
            if (wSubCmdID == HALL_SUB_S_GAME_LIST_CATEGORIES) {
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
    case HALL_SUB_S_GAME_LIST_GAMES: {
        tagPagedList<tagGameItem> list;
        if (!UnpackRecordInPlace(list, pData, wDataSize))
            return true;
        for (INT_PTR i = 0; i < list.Items.GetSize(); ++i) {
            CGame* pGame = new CGame(list.Items[i].dwID);
            pGame->SetName(list.Items[i].szName);
            pGame->SetFolderName(list.Items[i].szFolderName);
            AddOrDelete(m_GameTreeManager.AddGame(pGame), pGame);
        }
        return true;
    }
    case HALL_SUB_S_GAME_LIST_ROOMS: {
        tagPagedList<tagGameRoomItem> list;
        if (!UnpackRecordInPlace(list, pData, wDataSize))
            return true;
        for (INT_PTR i = 0; i < list.Items.GetSize(); ++i) {
            tagGameRoomItem& item = list.Items[i];
            CGameRoom* pRoom = new CGameRoom(item.dwRoomID);
            pRoom->SetName(item.szName);
            pRoom->SetServerAddresses(static_cast<CString&&>(item.strAddressList));
            pRoom->SetPort(item.wPort);
            pRoom->SetGameId(item.dwGameID);
            pRoom->SetRoomKind(item.cbRoomKind);
            pRoom->SetChannelValue(item.wChannelValue);
            AddOrDelete(m_GameTreeManager.AddGameRoom(pRoom), pRoom);
        }
        return true;
    }
    case HALL_SUB_S_GAME_LIST_WEBS: {
        tagPagedList<tagGameWebItem> list;
        if (!UnpackRecordInPlace(list, pData, wDataSize))
            return true;
        for (INT_PTR i = 0; i < list.Items.GetSize(); ++i) {
            CGameWeb* pWeb = new CGameWeb(list.Items[i].dwID);
            pWeb->SetName(list.Items[i].szName);
            pWeb->SetLink(list.Items[i].szLink);
            AddOrDelete(m_GameTreeManager.AddGameWeb(pWeb), pWeb);
        }
        return true;
    }
    case HALL_SUB_S_GAME_LIST_SERVER_TREE:
    case HALL_SUB_S_GAME_LIST_SECOND_TREE: OnTreeLinks(wSubCmdID, pData, wDataSize); return true;
    default: return true;
    }
}

void CClientDataCenter::OnTreeLinks(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    tagPagedList<tagTreeLinkItem> list;
    if (!UnpackRecordInPlace(list, pData, wDataSize))
        return;
    bool bServerTree = wSubCmdID == HALL_SUB_S_GAME_LIST_SERVER_TREE;
    CTreeLinkArray& links = bServerTree ? m_ServerTreeLinks : m_SecondTreeLinks;
    CGameTreeNode*& pRoot = bServerTree ? m_pServerTreeRoot : m_pSecondTreeRoot;
    // The second tree comes in one piece: its offset counts as 0.
    LONGLONG llOffset = bServerTree ? list.lOffset : 0;
    if (bServerTree && llOffset == 0)
        links.RemoveAll();
    // Room for the rest of the announced list at once, as far as the total
    // is believable; past that the links grow by doubling (the class
    // library's step of at most 1024 items would copy a long list again for
    // every thousand links, and each copy is a fresh large block).
    INT_PTR nGrow = links.GetSize() > 64 ? links.GetSize() : 64;
    LONGLONG llRest = LONGLONG(list.lTotal) - links.GetSize();
    if (llRest > nGrow)
        nGrow = INT_PTR(llRest < kMaxReservedLinks ? llRest : kMaxReservedLinks);
    links.SetSize(links.GetSize(), nGrow);
    for (INT_PTR i = 0; i < list.Items.GetSize(); ++i)
        links.Add(list.Items[i]);
    if (llOffset + list.Items.GetSize() < LONGLONG(list.lTotal))
        return;
    delete pRoot;
    pRoot = new CGameTreeNode(0);
    BuildTree(links, pRoot);
    Notify(bServerTree ? HN_SERVER_TREE : HN_SECOND_TREE, 0);
}

// ---- HALL_MAIN_ONLINE_COUNT: online counts ---------------------------------------------

bool CClientDataCenter::OnOnlineCountMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    if (wSubCmdID == HALL_SUB_S_ONLINE_COUNT_TOTAL) {
        DWORD dwTotal = 0;
        if (!UnpackRecord(dwTotal, pData, wDataSize))
            return true;
        m_GameTreeManager.SetTotalOnline(dwTotal);
        Notify(HN_ONLINE_COUNT, 0);
    } else if (wSubCmdID == HALL_SUB_S_ONLINE_COUNT_ROOMS) {
        tagPagedList<tagOnlineCountItem> list;
        if (!UnpackRecordInPlace(list, pData, wDataSize) || list.Items.GetSize() == 0)
            return true;
        for (INT_PTR i = 0; i < list.Items.GetSize(); ++i) {
            CGameRoom* pRoom = m_GameTreeManager.FindGameRoom(list.Items[i].dwRoomID);
            if (pRoom != NULL)
                pRoom->SetOnlineCount(list.Items[i].dwOnlineCount);
        }
        m_GameTreeManager.ComputeTotalOnline();
        Notify(HN_ONLINE_COUNT, 0);
    }
    return true;
}

// ---- mains 1005 to 1007 ----------------------------------------------------------------

bool CClientDataCenter::OnSystemMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    if (wSubCmdID == HALL_SUB_S_MESSAGE_SYSTEM) {
        tagSystemMessage message;
        memset(&message, 0, sizeof(message));
        if (UnpackRecord(message, pData, wDataSize))
            Notify(HN_SYSTEM_MESSAGE, LPARAM(&message));
    } else if (wSubCmdID == HALL_SUB_S_MESSAGE_POPUP) {
        tagCountedString text;
        if (UnpackRecord(text, pData, wDataSize) && m_PopupHandler)
            m_PopupHandler(text.strText);
    }
    return true;
}

bool CClientDataCenter::OnValuePairMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    tagValuePair pair;
    if (wSubCmdID == HALL_SUB_S_VALUE_PAIR && UnpackRecord(pair, pData, wDataSize))
        Notify(HN_VALUE_PAIR, LPARAM(DWORD(pair.wFirst) * 65536 + pair.wSecond));
    return true;
}

bool CClientDataCenter::OnUserValueMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    switch (wSubCmdID) {
    case HALL_SUB_S_USER_VALUE_LIST: {
        CArray<tagUserValueItem, const tagUserValueItem&> items;
        ReadWordCountedList(items, pData, wDataSize);
        for (INT_PTR i = 0; i < items.GetSize(); ++i) {
            tagUserValueItem item = items[i];
            Notify(HN_USER_VALUE, LPARAM(&item));
        }
        break;
    }
    case HALL_SUB_S_USER_VALUE_ITEM: {
        tagUserValueItem item;
        if (UnpackRecord(item, pData, wDataSize))
            Notify(HN_USER_VALUE, LPARAM(&item));
        break;
    }
    case HALL_SUB_S_USER_VALUE_BUY_RESULT: {
        BYTE cbValue = 0;
        if (UnpackRecord(cbValue, pData, wDataSize))
            Notify(HN_BUY_RESULT, LPARAM(cbValue));
        break;
    }
    }
    return true;
}

// ---- HALL_MAIN_RECORD_STORE: record store ----------------------------------------------

bool CClientDataCenter::OnRecordStoreMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    switch (wSubCmdID) {
    case HALL_SUB_S_RECORD_STORE_DEFINITION: {
        tagStoreDefinition* pDefinition = new tagStoreDefinition;
        memset(pDefinition, 0, sizeof(*pDefinition));
        if (UnpackRecord(*pDefinition, pData, wDataSize)) {
            m_RecordStore.UpsertDefinition(*pDefinition);
            Notify(HN_STORE_DEFINITION, LPARAM(pDefinition->dwID));
        }
        delete pDefinition;
        break;
    }
    case HALL_SUB_S_RECORD_STORE_ENTRIES_A:
    case HALL_SUB_S_RECORD_STORE_ENTRY_A: {
        CArray<tagStoreEntryA, const tagStoreEntryA&> entries;
        if (wSubCmdID == HALL_SUB_S_RECORD_STORE_ENTRIES_A) {
            ReadWordCountedList(entries, pData, wDataSize);
        } else {
            tagStoreEntryA entry;
            if (UnpackRecord(entry, pData, wDataSize))
                entries.Add(entry);
        }
        for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
            m_RecordStore.UpsertEntryA(entries[i]);
            Notify(HN_STORE_ENTRY_A, LPARAM(entries[i].dwID));
        }
        break;
    }
    case HALL_SUB_S_RECORD_STORE_ENTRIES_C:
    case HALL_SUB_S_RECORD_STORE_ENTRY_C: {
        CArray<tagStoreEntryC, const tagStoreEntryC&> entries;
        if (wSubCmdID == HALL_SUB_S_RECORD_STORE_ENTRIES_C) {
            ReadWordCountedList(entries, pData, wDataSize);
        } else {
            tagStoreEntryC entry;
            if (UnpackRecord(entry, pData, wDataSize))
                entries.Add(entry);
        }
        for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
            DWORD dwID = entries[i].dwID;
            m_RecordStore.UpsertEntryC(entries[i]);
            if (wSubCmdID == HALL_SUB_S_RECORD_STORE_ENTRIES_C && m_RecordStore.FindDefinition(dwID) == NULL)
                RequestStoreRecord1(dwID);
            Notify(wSubCmdID == HALL_SUB_S_RECORD_STORE_ENTRIES_C ? HN_STORE_ENTRIES_C : HN_STORE_ENTRY_C,
                   LPARAM(dwID));
        }
        break;
    }
    case HALL_SUB_S_RECORD_STORE_REMOVE_A:
    case HALL_SUB_S_RECORD_STORE_REMOVE_C: {
        DWORD dwID = 0;
        if (!UnpackRecord(dwID, pData, wDataSize))
            break;
        Notify(wSubCmdID == HALL_SUB_S_RECORD_STORE_REMOVE_A ? HN_STORE_REMOVE_A : HN_STORE_REMOVE_C, LPARAM(dwID));
        if (wSubCmdID == HALL_SUB_S_RECORD_STORE_REMOVE_A)
            m_RecordStore.RemoveEntryA(dwID);
        else
            m_RecordStore.RemoveEntryC(dwID);
        break;
    }
    case HALL_SUB_S_RECORD_STORE_NUMBER_C:
    case HALL_SUB_S_RECORD_STORE_NUMBER_C_2: {
        tagStoreValueChange change;
        if (!UnpackRecord(change, pData, wDataSize))
            break;
        m_RecordStore.SetEntryCNumber(change.dwID, change.cbIndex, change.wValue);
        Notify(wSubCmdID == HALL_SUB_S_RECORD_STORE_NUMBER_C ? HN_STORE_NUMBER_C : HN_STORE_NUMBER_C_2,
               LPARAM(change.dwID));
        break;
    }
    case HALL_SUB_S_RECORD_STORE_VALUE_1010:
    case HALL_SUB_S_RECORD_STORE_VALUE_1011:
    case HALL_SUB_S_RECORD_STORE_VALUE_1012:
    case HALL_SUB_S_RECORD_STORE_VALUE_1013:
    case HALL_SUB_S_RECORD_STORE_VALUE_1014: {
        // Sub 1013 is notified as 11 and sub 1012 as 12.
        static const tagNotifyKey kKeys[] = {HN_STORE_VALUE_1010, HN_STORE_VALUE_1011, HN_STORE_VALUE_1012,
                                             HN_STORE_VALUE_1013, HN_STORE_VALUE_1014};
        DWORD dwValue = 0;
        if (UnpackRecord(dwValue, pData, wDataSize))
            Notify(kKeys[wSubCmdID - HALL_SUB_S_RECORD_STORE_VALUE_1010], LPARAM(dwValue));
        break;
    }
    }
    return true;
}

// ---- HALL_MAIN_TEAM: teams --------------------------------------------------------------

bool CClientDataCenter::OnTeamMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    if (wSubCmdID != HALL_SUB_S_TEAM_INFO)
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
    Notify(HN_TEAM_INFO, LPARAM(dwTeamID));
    return true;
}
