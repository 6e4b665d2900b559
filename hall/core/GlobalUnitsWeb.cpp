// The global units' web log-in and log-out calls.
#include "GlobalUnits.h"

#include <afxinet.h>

#include <string.h>

#include "IniFile.h"
#include "RecordCodec.h"

namespace
{

// Query values go out %-escaped: an account name may hold any character.
CString EscapeQueryValue(LPCSTR text)
{
    static const char hex[] = "0123456789ABCDEF";
    CString out;
    for (const unsigned char* p = (const unsigned char*)(text != NULL ? text : ""); *p != 0; ++p) {
        if ((*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z') || (*p >= '0' && *p <= '9') || *p == '-' ||
            *p == '_' || *p == '.' || *p == '~') {
            out += (char)*p;
        } else {
            out += '%';
            out += hex[*p >> 4];
            out += hex[*p & 15];
        }
    }
    return out;
}

} // namespace

bool CGlobalUnits::PostWebCall(LPCSTR query)
{
    CString iniPath;
    iniPath.Format("%sconfig\\dynamic\\DynaItemCfg.ini", m_szWorkDirectory);
    char url[256] = "";
    CIniFile(iniPath).GetString("UserCookie", "url", url, "", sizeof(url));
    if (url[0] == '\0')
        return true;

    DWORD service = 0;
    CString server, object;
    INTERNET_PORT port = 0;
    if (!AfxParseURL(url, service, server, object, port))
        return false;

    object += query;
    CInternetSession* session = NULL;
    CHttpConnection* connection = NULL;
    CHttpFile* request = NULL;
    bool sent = false;
    try {
        session = new CInternetSession(NULL, 1, PRE_CONFIG_INTERNET_ACCESS);
        session->SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, 5000);
        session->SetOption(INTERNET_OPTION_CONNECT_RETRIES, 1);
        connection = session->GetHttpConnection(server, port);
        request = connection->OpenRequest(CHttpConnection::HTTP_VERB_POST, object, NULL, 1, NULL, NULL,
                                          INTERNET_FLAG_EXISTING_CONNECT);
        request->SendRequest();
        // The answer's body is not read; its status tells whether the call was taken.
        DWORD status = 0;
        sent = request->QueryInfoStatusCode(status) && status < 400;
    } catch (CException* e) {
        e->Delete();
        sent = false;
    }
    if (request != NULL) {
        request->Close();
        delete request;
    }
    if (connection != NULL) {
        connection->Close();
        delete connection;
    }
    if (session != NULL) {
        session->Close();
        delete session;
    }
    return sent;
}

bool CGlobalUnits::WebLogin(LPCSTR password)
{
    CString account = EscapeQueryValue(FieldText(m_UserData.szAccount, sizeof(m_UserData.szAccount)));
    CString query;
    query.Format("?username=%s&password=%s&type=login", (LPCSTR)account, (LPCSTR)EscapeQueryValue(password));
    return PostWebCall(query);
}

bool CGlobalUnits::WebLogout()
{
    CString account = EscapeQueryValue(FieldText(m_UserData.szAccount, sizeof(m_UserData.szAccount)));
    CString password = EscapeQueryValue(FieldText(m_UserData.szPassword, sizeof(m_UserData.szPassword)));
    CString query;
    query.Format("?username=%s&password=%s&type=logout", (LPCSTR)account, (LPCSTR)password);
    return PostWebCall(query);
}
