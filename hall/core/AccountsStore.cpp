#include "AccountsStore.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <string>

#include "IniReader.h"
#include "SQLiteCodec.h"
#include "SQLiteHandles.h"
#include "TextUnit.h"

namespace
{

const char kTable[] = "tblAccount";
const char kId[] = "ID";
const char kUserId[] = "USER_ID";
const char kUserAccount[] = "USER_ACCOUNT";
const char kUserPassword[] = "USER_PASSWORD";
const char kIsLastAccount[] = "IS_LASTACCOUNT";

const char kIniSection[] = "Account";

// How many names "Accounts.db.bak", "Accounts.db.bak1" ... are tried for a
// database that has to make room.
const int kAsideNames = 100;

// The key for the time it is needed, wiped afterwards.
class CDatabaseKey
{
public:
    explicit CDatabaseKey(CAccountsStore::KeySource source)
    {
        memset(m_szKey, 0, sizeof(m_szKey));
        if (source != NULL)
            source(m_szKey);
        m_szKey[sizeof(m_szKey) - 1] = '\0';
    }
    ~CDatabaseKey() { SecureZeroMemory(m_szKey, sizeof(m_szKey)); }

    const char* Text() const { return m_szKey; }
    int Length() const { return int(strlen(m_szKey)); }

private:
    char m_szKey[33];
};


// Moves a database this machine cannot read out of the way, with its
// journal if one is left, under the first free name.
bool MoveAside(LPCSTR path)
{
    for (int i = 0; i < kAsideNames; ++i) {
        CString target;
        if (i == 0)
            target.Format("%s.bak", path);
        else
            target.Format("%s.bak%d", path, i);
        if (GetFileAttributesA(target) != INVALID_FILE_ATTRIBUTES)
            continue;
        if (!MoveFileA(path, target))
            return false;
        CString journal;
        journal.Format("%s-journal", path);
        if (GetFileAttributesA(journal) != INVALID_FILE_ATTRIBUTES)
            MoveFileA(journal, target + "-journal");
        return true;
    }
    return false;
}

// The largest i of the "Account<i>" sections, -1 when there is none: no
// entry lies beyond it, whatever count the file claims.
int LastAccountSection(const CIniReader& reader)
{
    const size_t prefixLength = strlen(kIniSection);
    int last = -1;
    for (const auto& section : reader.GetSections()) {
        const std::string& name = section.first;
        if (name.size() <= prefixLength || name.size() > prefixLength + 9 ||
            name.compare(0, prefixLength, kIniSection) != 0 ||
            name.find_first_not_of("0123456789", prefixLength) != std::string::npos)
            continue;
        int index = atoi(name.c_str() + prefixLength);
        if (index > last)
            last = index;
    }
    return last;
}

} // namespace

CAccountsStore::CAccountsStore() : m_pfnKeySource(NULL), m_pDatabase(NULL)
{
    m_szLastUser[0] = '\0';
}

CAccountsStore::~CAccountsStore()
{
    CloseAccountsDb();
}

void CAccountsStore::SetConfigDirectory(LPCSTR folder)
{
    m_strConfigDirectory = folder != NULL ? folder : "";
}

void CAccountsStore::SetKeySource(KeySource source)
{
    m_pfnKeySource = source;
}

void CAccountsStore::LoadAccounts()
{
    LoadIniAccounts();
    OpenAccountsDb(m_strConfigDirectory + "\\Accounts.db");
    LoadAccountsDb();
}

void CAccountsStore::LoadIniAccounts()
{
    CIniReader reader;
    std::ifstream in(static_cast<LPCSTR>(m_strConfigDirectory + "\\Accounts.ini"), std::ios::binary);
    if (!in)
        return;
    reader.Load(in);

    int count = atoi(reader.GetValue(kIniSection, "AccountCount").c_str());
    if (count <= 0)
        return;
    const int last = LastAccountSection(reader);
    for (int i = 0; i < count && i <= last; ++i) {
        CString section;
        section.Format("%s%d", kIniSection, i);
        std::string name = reader.GetValue(static_cast<LPCSTR>(section), "Name");
        if (name.empty() || FindAccount(name.c_str()) >= 0)
            continue;
        tagAccount account = {};
        TextCopyField(account.szAccount, name.c_str());
        account.dwUserID = DWORD(strtoul(reader.GetValue(static_cast<LPCSTR>(section), "UserID").c_str(), NULL, 10));
        TextCopyField(account.szPassword, reader.GetValue(static_cast<LPCSTR>(section), "Password").c_str());
        m_Accounts.Add(account);
    }
    SetLastUser(reader.GetValue(kIniSection, "LastUser").c_str());
}

void CAccountsStore::SaveAccounts()
{
    // Until the database holds the list, the older file is the only copy
    // of what it alone had.
    if (SaveAccountsDb())
        DeleteFileA(m_strConfigDirectory + "\\Accounts.ini");
}

bool CAccountsStore::OpenAccountsDb(LPCSTR path)
{
    if (path == NULL)
        return false;
    CloseAccountsDb();

    bool movedAside = false;
    for (;;) {
        // An empty name would open a temporary database instead.
        std::string utf8;
        if (!TextToUtf8(path, utf8) || utf8.empty())
            return false;
        sqlite3* db = NULL;
        if (sqlite3_open(utf8.c_str(), &db) != SQLITE_OK || db == NULL) {
            sqlite3_close(db);
            return false;
        }
        // Without its key an existing file would read as foreign and be
        // moved aside.
        CDatabaseKey key(m_pfnKeySource);
        if (key.Length() == 0 || sqlite3_key(db, key.Text(), key.Length()) != SQLITE_OK) {
            sqlite3_close(db);
            return false;
        }

        char** table = NULL;
        int rows = 0;
        int columns = 0;
        int rc = sqlite3_get_table(
            db, CSqlText(sqlite3_mprintf("SELECT * FROM sqlite_master WHERE type = 'table' AND name = '%q';", kTable)),
            &table, &rows, &columns, NULL);
        sqlite3_free_table(table);
        if (rc != SQLITE_OK) {
            sqlite3_close(db);
            // Only a file that is no database under this key makes room;
            // one that is busy, locked or failing is left for a later run.
            int primary = rc & 0xFF;
            if (movedAside || (primary != SQLITE_NOTADB && primary != SQLITE_CORRUPT) || !MoveAside(path))
                return false;
            movedAside = true;
            continue;
        }
        if (rows == 0) {
            CSqlText create(sqlite3_mprintf(
                "CREATE TABLE %q('%q' INTEGER PRIMARY KEY,'%q' int, '%q'varchar(32),'%q' varchar(128),'%q' int);",
                kTable, kId, kUserId, kUserAccount, kUserPassword, kIsLastAccount));
            if (SqlExecute(db, create) != SQLITE_OK) {
                sqlite3_close(db);
                return false;
            }
            sqlite3_key(db, key.Text(), key.Length());
        }
        m_pDatabase = db;
        m_strDatabasePath = utf8.c_str();
        return !movedAside;
    }
}

void CAccountsStore::CloseAccountsDb()
{
    if (m_pDatabase != NULL) {
        sqlite3_close(m_pDatabase);
        m_pDatabase = NULL;
    }
}

bool CAccountsStore::LoadAccountsDb()
{
    if (m_pDatabase == NULL)
        return false;
    int count = 0;
    {
        CStatement statement;
        if (!statement.Prepare(m_pDatabase, CSqlText(sqlite3_mprintf("SELECT COUNT(*) FROM %q ", kTable))) ||
            sqlite3_step(statement) != SQLITE_ROW)
            return false;
        count = sqlite3_column_int(statement, 0);
    }
    for (int i = 0; i < count; ++i) {
        CStatement statement;
        if (!statement.Prepare(m_pDatabase,
                               CSqlText(sqlite3_mprintf("SELECT * FROM %q WHERE %q = %d;", kTable, kId, i))))
            continue;
        if (sqlite3_step(statement) != SQLITE_ROW)
            return false;
        tagAccount account = {};
        account.dwUserID = DWORD(sqlite3_column_int64(statement, 1));
        TextCopyField(account.szAccount, reinterpret_cast<const char*>(sqlite3_column_text(statement, 2)));
        TextCopyField(account.szPassword, reinterpret_cast<const char*>(sqlite3_column_text(statement, 3)));
        if (sqlite3_column_int(statement, 4) != 0)
            SetLastUser(account.szAccount);
        m_Accounts.Add(account);
    }
    return true;
}

bool CAccountsStore::SaveAccountsDb()
{
    if (m_pDatabase == NULL)
        return false;
    // All or nothing: a save that stops half-way leaves the table it found.
    if (SqlExecute(m_pDatabase, "BEGIN") != SQLITE_OK)
        return false;
    bool saved = SqlExecute(m_pDatabase, CSqlText(sqlite3_mprintf("DELETE FROM %q;", kTable))) == SQLITE_OK;
    bool lastMarked = false;
    for (int i = 0; saved && i < m_Accounts.GetSize(); ++i) {
        const tagAccount& account = m_Accounts[i];
        int isLast = 0;
        if (!lastMarked && m_szLastUser[0] != '\0' && strcmp(account.szAccount, m_szLastUser) == 0) {
            isLast = 1;
            lastMarked = true;
        }
        CStatement insert;
        saved = insert.Prepare(m_pDatabase, CSqlText(sqlite3_mprintf("INSERT INTO %q VALUES(%d,%u,'%q','%q',%d);",
                                                                     kTable, i, unsigned(account.dwUserID),
                                                                     account.szAccount, account.szPassword, isLast))) &&
                sqlite3_step(insert) == SQLITE_DONE;
    }
    if (saved)
        saved = SqlExecute(m_pDatabase, "COMMIT") == SQLITE_OK;
    if (!saved)
        SqlExecute(m_pDatabase, "ROLLBACK");
    return saved;
}

bool CAccountsStore::AddAccount(const tagAccount& account)
{
    tagAccount copy = account;
    copy.szAccount[sizeof(copy.szAccount) - 1] = '\0';
    copy.szPassword[sizeof(copy.szPassword) - 1] = '\0';
    if (FindAccount(copy.szAccount) >= 0)
        return false;
    m_Accounts.Add(copy);
    return true;
}

void CAccountsStore::DeleteAccount(LPCSTR account)
{
    int index = FindAccount(account);
    if (index < 0)
        return;
    CString users = m_strConfigDirectory + "\\Users\\";
    CreateDirectoryA(users, NULL);
    CString folder;
    folder.Format("%s%lu", static_cast<LPCSTR>(users), static_cast<unsigned long>(m_Accounts[index].dwUserID));

    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(folder + "\\*.*", &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (strcmp(data.cFileName, ".") == 0 || strcmp(data.cFileName, "..") == 0)
                continue;
            DeleteFileA(folder + "\\" + data.cFileName);
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder);
    m_Accounts.RemoveAt(index);
}

int CAccountsStore::FindAccount(LPCSTR account) const
{
    if (account == NULL || account[0] == '\0')
        return -1;
    for (int i = 0; i < m_Accounts.GetSize(); ++i) {
        if (CString(m_Accounts[i].szAccount).CompareNoCase(account) == 0)
            return i;
    }
    return -1;
}

LPCSTR CAccountsStore::GetPasswordByUserId(CString& password, DWORD userId) const
{
    password.Empty();
    for (int i = 0; userId != 0 && i < m_Accounts.GetSize(); ++i) {
        if (m_Accounts[i].dwUserID == userId) {
            password = m_Accounts[i].szPassword;
            break;
        }
    }
    return password;
}

LPCSTR CAccountsStore::GetPasswordByAccount(CString& password, LPCSTR account) const
{
    int index = FindAccount(account);
    password = index >= 0 ? m_Accounts[index].szPassword : "";
    return password;
}

void CAccountsStore::SetLastUser(LPCSTR account)
{
    TextCopyField(m_szLastUser, account);
}

DWORD CAccountsStore::GetLastUserId() const
{
    if (m_szLastUser[0] == '\0')
        return 0;
    for (int i = 0; i < m_Accounts.GetSize(); ++i) {
        if (strcmp(m_Accounts[i].szAccount, m_szLastUser) == 0)
            return m_Accounts[i].dwUserID;
    }
    return 0;
}

tagAccount* CAccountsStore::GetAccount(int index)
{
    return IsValidIndex(index) ? &m_Accounts[index] : NULL;
}

CString CAccountsStore::GetAccountName(int index) const
{
    return IsValidIndex(index) ? CString(m_Accounts[index].szAccount) : CString();
}

DWORD CAccountsStore::GetAccountUserId(int index) const
{
    return IsValidIndex(index) ? m_Accounts[index].dwUserID : 0;
}

void CAccountsStore::SetAccount(int index, const tagAccount& account)
{
    if (!IsValidIndex(index))
        return;
    tagAccount copy = account;
    copy.szAccount[sizeof(copy.szAccount) - 1] = '\0';
    copy.szPassword[sizeof(copy.szPassword) - 1] = '\0';
    m_Accounts[index] = copy;
}
