// The options store's recent games and own games, kept per user.
#include "GlobalOption.h"

#include "GlobalUnits.h"
#include "IniFile.h"

bool CGlobalOption::AddLastGame(WORD gameId, WORD serverId)
{
    int index = FindLastGameIndex(gameId);
    if (index >= 0)
        m_LastGames.RemoveAt(index);
    tagLastGameInfo info = {gameId, serverId};
    m_LastGames.Add(info);
    // Only the newest entries are kept; the list is read back oldest first.
    if (m_LastGames.GetSize() > kRecentGames)
        m_LastGames.RemoveAt(0, m_LastGames.GetSize() - kRecentGames);
    return true;
}

int CGlobalOption::FindLastGameIndex(WORD gameId) const
{
    for (INT_PTR i = 0; i < m_LastGames.GetSize(); ++i) {
        if (m_LastGames[i].wGameID == gameId)
            return (int)i;
    }
    return -1;
}

WORD CGlobalOption::FindLastGame(WORD gameId) const
{
    int index = FindLastGameIndex(gameId);
    return index >= 0 ? m_LastGames[index].wServerID : 0;
}

int CGlobalOption::FindSelfGameIndex(WORD gameId) const
{
    for (INT_PTR i = 0; i < m_SelfGames.GetSize(); ++i) {
        if ((WORD)m_SelfGames[i] == gameId)
            return (int)i;
    }
    return -1;
}

void CGlobalOption::AddSelfGame(WORD gameId)
{
    if (gameId != 0 && FindSelfGameIndex(gameId) < 0)
        m_SelfGames.Add(gameId);
}

void CGlobalOption::RemoveSelfGameAt(INT_PTR index)
{
    if (index >= 0 && index < m_SelfGames.GetSize())
        m_SelfGames.RemoveAt(index);
}

void CGlobalOption::ClearGameLists()
{
    m_LastGames.RemoveAll();
    m_SelfGames.RemoveAll();
}

CString CGlobalOption::GetUserConfigFile(bool create)
{
    DWORD userId = g_GlobalUnits.GetGlobalUserData()->dwUserID;
    if (userId == 0)
        return CString();
    CString users = GetConfigDirectory() + "\\Users\\";
    CString folder;
    folder.Format("%s%lu", (LPCSTR)users, (unsigned long)userId);
    if (create) {
        CreateDirectoryA(GetConfigDirectory(), NULL);
        CreateDirectoryA(users, NULL);
        CreateDirectoryA(folder, NULL);
    }
    return folder + "\\Config.ini";
}

void CGlobalOption::LoadLastGames()
{
    CString file = GetUserConfigFile(false);
    if (file.IsEmpty())
        return;
    CIniFile ini(file, 4096);
    for (int i = 0; i < kRecentGames; ++i) {
        CString gameKey, roomKey;
        gameKey.Format("LastGame%d", i);
        roomKey.Format("GameRoom%d", i);
        WORD gameId = (WORD)ini.GetInt("LastGames", gameKey, 0);
        WORD serverId = (WORD)ini.GetInt("LastGames", roomKey, 0);
        if (gameId == 0 || serverId == 0 || FindLastGameIndex(gameId) >= 0)
            continue;
        tagLastGameInfo info = {gameId, serverId};
        m_LastGames.Add(info);
    }
}

void CGlobalOption::SaveLastGames()
{
    CString file = GetUserConfigFile(true);
    if (file.IsEmpty())
        return;
    CIniFile ini(file, 4096);
    for (int i = 0;; ++i) {
        CString gameKey, roomKey;
        gameKey.Format("LastGame%d", i);
        roomKey.Format("GameRoom%d", i);
        if (ini.GetInt("LastGames", gameKey, 0) == 0)
            break;
        ini.DeleteKey("LastGames", gameKey);
        ini.DeleteKey("LastGames", roomKey);
    }
    INT_PTR first = m_LastGames.GetSize() > kRecentGames ? m_LastGames.GetSize() - kRecentGames : 0;
    for (INT_PTR i = first; i < m_LastGames.GetSize(); ++i) {
        CString gameKey, roomKey;
        gameKey.Format("LastGame%d", (int)(i - first));
        roomKey.Format("GameRoom%d", (int)(i - first));
        ini.WriteInt("LastGames", gameKey, m_LastGames[i].wGameID);
        ini.WriteInt("LastGames", roomKey, m_LastGames[i].wServerID);
    }
}

void CGlobalOption::LoadSelfGames()
{
    if (m_SelfGames.GetSize() > 0)
        return;
    CString file = GetUserConfigFile(false);
    if (file.IsEmpty())
        return;
    CIniFile ini(file, 4096);
    for (int i = 0;; ++i) {
        CString key;
        key.Format("SelfGame%d", i);
        WORD gameId = (WORD)ini.GetInt("SelfGames", key, 0);
        if (gameId == 0 || FindSelfGameIndex(gameId) >= 0)
            break;
        m_SelfGames.Add(gameId);
    }
}

void CGlobalOption::SaveSelfGames()
{
    CString file = GetUserConfigFile(true);
    if (file.IsEmpty())
        return;
    CIniFile ini(file, 4096);
    for (int i = 0;; ++i) {
        CString key;
        key.Format("SelfGame%d", i);
        if (ini.GetInt("SelfGames", key, 0) == 0)
            break;
        ini.DeleteKey("SelfGames", key);
    }
    for (INT_PTR i = 0; i < m_SelfGames.GetSize(); ++i) {
        CString key;
        key.Format("SelfGame%d", (int)i);
        ini.WriteInt("SelfGames", key, (WORD)m_SelfGames[i]);
    }
}
