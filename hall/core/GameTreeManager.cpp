#include "GameTreeManager.h"

#include "GlobalUnits.h"
#include "IniFile.h"

CGameTreeManager::CGameTreeManager()
    : m_GameCategories(10), m_Games(10), m_GameStations(10), m_GameRooms(10), m_GameWebs(10), m_WebGames(10),
      m_WebGameServers(10), m_dwTotalOnline(0)
{}

CGameTreeManager::~CGameTreeManager()
{
    ClearAll();
}

void CGameTreeManager::ClearAll()
{
    ClearGameCategories();
    ClearGames();
    ClearGameStations();
    ClearGameRooms();
    ClearGameWebs();
    ClearWebGames();
    ClearWebGameServers();
}

CGame* CGameTreeManager::GetGameAt(INT_PTR index) const
{
    if (index < 0 || index >= m_Games.GetCount())
        return NULL;
    return m_Games.GetAt(m_Games.FindIndex(index));
}

void CGameTreeManager::ComputeTotalOnline()
{
    DWORD total = 0;
    for (POSITION pos = m_GameRooms.GetHeadPosition(); pos != NULL;)
        total += m_GameRooms.GetNext(pos)->GetOnlineCount();
    m_dwTotalOnline = total;
}

namespace
{

// The program folder without its trailing backslash.
CString ProgramFolder()
{
    CString folder(g_GlobalUnits.GetWorkDirectory());
    if (folder.Right(1) == "\\")
        folder = folder.Left(folder.GetLength() - 1);
    return folder;
}

} // namespace

CString CGameTreeManager::GetGameFolder(DWORD gameId) const
{
    CGame* game = FindGame(gameId);
    if (game == NULL)
        return CString();
    CString path;
    path.Format("%s\\%s", (LPCSTR)ProgramFolder(), (LPCSTR)game->GetFolderName());
    return path;
}

bool CGameTreeManager::IsNameInsideFolder(LPCSTR name)
{
    if (name == NULL || name[0] == '\0' || name[0] == '\\' || name[0] == '/')
        return false;
    CString text(name);
    if (text.Find(':') >= 0)
        return false;
    // No piece of the path may climb.
    text.Replace('/', '\\');
    int start = 0;
    while (start <= text.GetLength()) {
        int end = text.Find('\\', start);
        if (end < 0)
            end = text.GetLength();
        CString piece = text.Mid(start, end - start);
        piece.TrimRight(" .");
        if (piece.IsEmpty() && text.Mid(start, end - start).Find('.') >= 0)
            return false; // "..", "...", ". ." all name a parent or this folder
        start = end + 1;
    }
    return true;
}

CString CGameTreeManager::GetGameExePath(DWORD gameId) const
{
    CGame* game = FindGame(gameId);
    if (game == NULL)
        return CString();
    CString iniPath;
    iniPath.Format("%s\\%s\\CONFIG.INI", (LPCSTR)ProgramFolder(), (LPCSTR)game->GetFolderName());
    CIniFile ini(iniPath);
    CString exeName;
    ini.GetString("Public", "ExeName", exeName, "");
    if (exeName.IsEmpty() || !IsNameInsideFolder(exeName))
        return CString();
    CString path;
    path.Format("%s\\%s\\%s", (LPCSTR)ProgramFolder(), (LPCSTR)game->GetFolderName(), (LPCSTR)exeName);
    return path;
}
