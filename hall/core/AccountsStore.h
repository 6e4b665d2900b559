// The accounts the user chose to remember on this machine: account name,
// user id and stored (scrambled) password, and which account logged on last.
// Kept in memory in load and insertion order and on disk in the keyed
// database "Accounts.db" of the config folder; the older plain
// "Accounts.ini" is still read and goes once a save has worked.
#pragma once

#include <afx.h>
#include <afxtempl.h>

#include "IAccountsStore.h"

struct sqlite3;

struct tagAccount
{
    char szAccount[32];
    DWORD dwUserID;       // 0 when not known
    char szPassword[256]; // as the logon dialog stores it
};

class CAccountsStore : public IAccountsStore
{
public:
    // Writes the database key: 32 hexadecimal characters and a terminator.
    // Asked each time the database is opened; the key is kept nowhere.
    typedef void (*KeySource)(char key[33]);

    CAccountsStore();
    ~CAccountsStore() override;

    // Both before LoadAccounts: the config folder (without trailing
    // backslash) and the key.
    void SetConfigDirectory(LPCSTR folder);
    void SetKeySource(KeySource source);

    // "Accounts.ini" merged into the list, then "Accounts.db" appended.
    void LoadAccounts() override;
    // The list into "Accounts.db"; "Accounts.ini" goes only once that worked.
    void SaveAccounts() override;

    // Opens the keyed database, creating its table. A file this key cannot
    // read is moved aside (never deleted) and a fresh one made in its place;
    // that still answers false. Busy, locked or failing files stay as they are.
    bool OpenAccountsDb(LPCSTR path);
    bool LoadAccountsDb();
    // Rewrites the table from the list in one transaction.
    bool SaveAccountsDb();
    void CloseAccountsDb();

    // False when an account of that name (any case) is saved already.
    bool AddAccount(const tagAccount& account);
    // Removes the account and its folder "Users\<user id>" of the config folder.
    void DeleteAccount(LPCSTR account);
    // First account of that name, compared without regard to case; -1 when none.
    int FindAccount(LPCSTR account) const;
    // Empty when not found (or for user id 0).
    LPCSTR GetPasswordByUserId(CString& password, DWORD userId) const;
    LPCSTR GetPasswordByAccount(CString& password, LPCSTR account) const;

    // At most 31 characters; null clears it.
    void SetLastUser(LPCSTR account);
    CString GetLastUser() const { return m_szLastUser; }
    // User id of the first account named exactly as the last user; 0 when none.
    DWORD GetLastUserId() const;

    int GetAccountCount() const { return int(m_Accounts.GetSize()); }
    // Index from 0 to the count - 1; null (empty, 0) outside.
    tagAccount* GetAccount(int index);
    CString GetAccountName(int index) const;
    DWORD GetAccountUserId(int index) const;
    void SetAccount(int index, const tagAccount& account);

private:
    CAccountsStore(const CAccountsStore&) = delete;
    CAccountsStore& operator=(const CAccountsStore&) = delete;

    void LoadIniAccounts();
    bool IsValidIndex(int index) const { return index >= 0 && index < m_Accounts.GetSize(); }

    CString m_strConfigDirectory;
    KeySource m_pfnKeySource;
    CArray<tagAccount, const tagAccount&> m_Accounts;
    char m_szLastUser[32];
    CString m_strDatabasePath; // UTF-8
    sqlite3* m_pDatabase;
};
