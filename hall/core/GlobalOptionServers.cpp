// The options store's logon servers, proxy settings, server cursor and
// fast-server probe ("ServerList.ini").
#include "GlobalOption.h"

#include <string.h>

#include "IniFile.h"
#include "TextUnit.h"

namespace
{

void CopyField(char* dest, size_t size, const CString& text)
{
    TextCopyField(dest, size, text);
}

} // namespace

void CGlobalOption::LoadServerList()
{
    CIniFile ini(ConfigFile("ServerList.ini"));
    m_LogonServers.RemoveAll();
    // The count comes from a downloaded file: no list is longer than this.
    int count = ini.GetInt("Server", "ServerCount", 0);
    if (count > kMaxLogonServers)
        count = kMaxLogonServers;
    for (int i = 0; i < count; ++i) {
        CString section;
        section.Format("Server%d", i);
        CString name;
        ini.GetString(section, "Name", name, "");
        if (name.IsEmpty())
            continue;
        tagLogonServer server;
        memset(&server, 0, sizeof(server));
        CopyField(server.szName, sizeof(server.szName), name);
        if (FindServerByName(server.szName) >= 0)
            continue;
        CString host, ip;
        ini.GetString(section, "Host", host, server.szName);
        CopyField(server.szHost, sizeof(server.szHost), host);
        ini.GetString(section, "IP", ip, server.szHost);
        CopyField(server.szIP, sizeof(server.szIP), ip);
        server.wPort = (WORD)ini.GetInt(section, "Port", 9000);
        server.wIndex = (WORD)m_LogonServers.GetSize();
        m_LogonServers.Add(server);
    }
    SetLastServer(ini.GetInt("Server", "LastServerID", -1));
}

int CGlobalOption::FindServerByName(LPCSTR name) const
{
    if (name == NULL || name[0] == '\0')
        return -1;
    for (INT_PTR i = 0; i < m_LogonServers.GetSize(); ++i) {
        if (strcmp(m_LogonServers[i].szName, name) == 0)
            return (int)i;
    }
    return -1;
}

tagLogonServer* CGlobalOption::GetServer(INT_PTR index)
{
    if (index < 0 || index >= m_LogonServers.GetSize())
        return NULL;
    return &m_LogonServers[index];
}

// A new round: every server may be tried once more, starting at index.
void CGlobalOption::StartServerRound(int index)
{
    m_ServersTried.RemoveAll();
    m_ServersTried.SetSize(m_LogonServers.GetSize());
    m_bWinnerApplied = false;
    m_nNextServer = index;
}

void CGlobalOption::SetLastServer(int index)
{
    if (index >= 0 && index < m_LogonServers.GetSize()) {
        m_nLastServer = index;
        StartServerRound(index);
        m_bServerReuse = true;
    } else {
        m_nLastServer = -1;
        m_nNextServer = -1;
    }
}

void CGlobalOption::SaveLastServer()
{
    CIniFile(ConfigFile("ServerList.ini")).WriteInt("Server", "LastServerID", m_nLastServer);
}

// Each server is handed out at most once per round, so a logon that fails
// everywhere ends after one pass and reports it. The probe's winner is
// preferred once, after the first try.
tagLogonServer* CGlobalOption::GetNextServer()
{
    int count = (int)m_LogonServers.GetSize();
    if (m_nNextServer < 0 || count == 0)
        return NULL;
    if (m_ServersTried.GetSize() != count)
        m_ServersTried.SetSize(count);

    if (m_bServerReuse) {
        m_bServerReuse = false;
    } else if (!m_bWinnerApplied) {
        LONG winner = m_FastServerProbe.GetResult();
        if (winner != FAST_SERVER_NONE && winner != FAST_SERVER_FAILED && winner >= 0 && winner < count) {
            m_bWinnerApplied = true;
            m_nNextServer = (int)winner;
        }
    }

    int index = -1;
    for (int step = 0; step < count; ++step) {
        int candidate = (m_nNextServer + step) % count;
        if (!m_ServersTried[candidate]) {
            index = candidate;
            break;
        }
    }
    if (index < 0) {
        m_nNextServer = -1;
        return NULL;
    }
    m_ServersTried[index] = 1;
    m_nLastServer = index;
    m_nNextServer = (index + 1) % count;
    return &m_LogonServers[index];
}

bool CGlobalOption::ShouldFindFastServer()
{
    if (m_FastServerProbe.GetResult() != FAST_SERVER_NONE)
        return false;
    return CIniFile(ConfigFile("ServerList.ini")).GetInt("Server", "FindFastServer", 0) == 0;
}

LONG CGlobalOption::StartFastServerProbe()
{
    return m_FastServerProbe.Start(m_LogonServers.GetData(), (int)m_LogonServers.GetSize());
}

void CGlobalOption::RecordFastServer()
{
    LONG result = m_FastServerProbe.GetResult();
    if (result == FAST_SERVER_NONE)
        return;
    if (CIniFile(DynamicConfigFile()).GetInt("IsFindFastIp", "findip", 0) == 0)
        return;
    CIniFile(ConfigFile("ServerList.ini")).WriteInt("Server", "FindFastServer", result == m_nNextServer ? 1 : 0);
}

void CGlobalOption::LoadProxyInfo()
{
    CIniFile ini(ConfigFile("ServerList.ini"));
    m_ProxyInfo.cbProxyType = (BYTE)ini.GetInt("Proxy", "ProxyType", 0);
    m_ProxyInfo.wProxyPort = (WORD)ini.GetInt("Proxy", "ProxyPort", 0);
    ini.GetString("Proxy", "ProxyAddr", m_ProxyInfo.strProxyAddr, "");
    ini.GetString("Proxy", "ProxyName", m_ProxyInfo.strProxyName, "");
    ini.GetString("Proxy", "ProxyPass", m_ProxyInfo.strProxyPass, "");
}

void CGlobalOption::SaveProxyInfo()
{
    CIniFile ini(ConfigFile("ServerList.ini"));
    ini.WriteInt("Proxy", "ProxyType", m_ProxyInfo.cbProxyType);
    ini.WriteInt("Proxy", "ProxyPort", m_ProxyInfo.wProxyPort);
    ini.WriteString("Proxy", "ProxyAddr", m_ProxyInfo.strProxyAddr);
    ini.WriteString("Proxy", "ProxyName", m_ProxyInfo.strProxyName);
    ini.WriteString("Proxy", "ProxyPass", m_ProxyInfo.strProxyPass);
}
