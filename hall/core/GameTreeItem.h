// The items of the game tree as the hall server and the local web-game list
// give them: categories, games, stations, game web links, web games and web
// game servers. Rooms are in GameRoom.h. Every item keeps its id and its name
// first; the tree manager owns the items.
#pragma once

#include <afx.h>

class CGameItem
{
public:
    explicit CGameItem(DWORD dwId) : m_dwId(dwId) {}
    virtual ~CGameItem() {}

    DWORD GetId() const { return m_dwId; }
    CString GetName() const { return m_strName; }
    void SetName(LPCSTR name) { m_strName = name; }

private:
    CGameItem(const CGameItem&) = delete;
    CGameItem& operator=(const CGameItem&) = delete;

    DWORD m_dwId;
    CString m_strName;
};

class CGameCategory : public CGameItem
{
public:
    explicit CGameCategory(DWORD dwId) : CGameItem(dwId) {}
};

class CGameStation : public CGameItem
{
public:
    explicit CGameStation(DWORD dwId) : CGameItem(dwId) {}
};

class CGame : public CGameItem
{
public:
    explicit CGame(DWORD dwId) : CGameItem(dwId) {}

    // The game's folder under the program folder.
    CString GetFolderName() const { return m_strFolderName; }
    void SetFolderName(LPCSTR folder) { m_strFolderName = folder; }

private:
    CString m_strFolderName;
};

// A web page entry of the game list.
class CGameWeb : public CGameItem
{
public:
    explicit CGameWeb(DWORD dwId) : CGameItem(dwId), m_dwValue(0) {}

    CString GetLink() const { return m_strLink; }
    void SetLink(LPCSTR link) { m_strLink = link; }
    DWORD GetValue() const { return m_dwValue; }
    void SetValue(DWORD value) { m_dwValue = value; }

private:
    CString m_strLink;
    DWORD m_dwValue;
};

// A game played in a web page, from the local web-game list.
class CWebGame : public CGameItem
{
public:
    explicit CWebGame(DWORD dwId) : CGameItem(dwId), m_dwIconId(0), m_dwValue(0) {}

    CString GetLink() const { return m_strLink; }
    void SetLink(LPCSTR link) { m_strLink = link; }
    DWORD GetIconId() const { return m_dwIconId; }
    void SetIconId(DWORD iconId) { m_dwIconId = iconId; }
    DWORD GetValue() const { return m_dwValue; }
    void SetValue(DWORD value) { m_dwValue = value; }

private:
    CString m_strLink;
    DWORD m_dwIconId;
    DWORD m_dwValue;
};

// A server of a web game, from the local web-game list.
class CWebGameServer : public CGameItem
{
public:
    explicit CWebGameServer(DWORD dwId) : CGameItem(dwId), m_dwValue1(0), m_dwValue2(0) {}

    CString GetLink() const { return m_strLink; }
    void SetLink(LPCSTR link) { m_strLink = link; }
    DWORD GetValue1() const { return m_dwValue1; }
    void SetValue1(DWORD value) { m_dwValue1 = value; }
    DWORD GetValue2() const { return m_dwValue2; }
    void SetValue2(DWORD value) { m_dwValue2 = value; }

private:
    CString m_strLink;
    DWORD m_dwValue1;
    DWORD m_dwValue2;
};
