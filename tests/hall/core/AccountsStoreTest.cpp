// The saved accounts on a config folder of their own, keyed with fixed keys.
#include "AccountsStore.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdio.h>

#include <memory>
#include <string>

#include "CodecTestSupport.h"
#include "SQLiteCodec.h"

namespace
{

const char kThisMachine[] = "0123456789ABCDEF0123456789ABCDEF";
const char kOtherMachine[] = "FEDCBA9876543210FEDCBA9876543210";

// What the key source hands out; a test switches machines by changing it.
const char* g_pKey = kThisMachine;

void TestKey(char key[33])
{
    lstrcpynA(key, g_pKey, 33);
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

tagAccount Account(const char* name, DWORD userId, const char* password)
{
    tagAccount account = {};
    lstrcpynA(account.szAccount, name, sizeof(account.szAccount));
    account.dwUserID = userId;
    lstrcpynA(account.szPassword, password, sizeof(account.szPassword));
    return account;
}

// Another connection on the accounts database, under a key of our choice.
class CRawDatabase
{
public:
    CRawDatabase(const std::string& path, const char* key) : m_pDb(NULL)
    {
        EXPECT_EQ(sqlite3_open(path.c_str(), &m_pDb), SQLITE_OK);
        EXPECT_EQ(sqlite3_key(m_pDb, key, int(strlen(key))), SQLITE_OK);
    }
    ~CRawDatabase() { sqlite3_close(m_pDb); }

    int Exec(const std::string& sql) { return sqlite3_exec(m_pDb, sql.c_str(), NULL, NULL, NULL); }
    // The first column of every row, joined by "|"; "error <rc>" on failure.
    std::string Column(const std::string& sql)
    {
        sqlite3_stmt* statement = NULL;
        int rc = sqlite3_prepare_v2(m_pDb, sql.c_str(), -1, &statement, NULL);
        if (rc != SQLITE_OK)
            return "error " + std::to_string(rc);
        std::string out;
        bool first = true;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(statement, 0);
            out += (first ? "" : "|") + std::string(text != NULL ? reinterpret_cast<const char*>(text) : "");
            first = false;
        }
        sqlite3_finalize(statement);
        return rc == SQLITE_DONE ? out : "error " + std::to_string(rc);
    }

private:
    sqlite3* m_pDb;
};

class AccountsStoreTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_pKey = kThisMachine;
        m_folder.reset(new CTempFolder("accounts"));
        m_config = m_folder->Path();
    }
    void TearDown() override { m_folder.reset(); }

    std::string Ini() const { return m_config + "\\Accounts.ini"; }
    std::string Db() const { return m_config + "\\Accounts.db"; }

    void Prepare(CAccountsStore& store) const
    {
        store.SetConfigDirectory(m_config.c_str());
        store.SetKeySource(TestKey);
    }

    // A store that has run its load, as the options load runs it.
    void Load(CAccountsStore& store) const
    {
        Prepare(store);
        store.LoadAccounts();
    }

    // A database of these accounts under the current key.
    void SaveDatabase(const std::vector<tagAccount>& accounts, const char* lastUser)
    {
        CAccountsStore store;
        Prepare(store);
        ASSERT_TRUE(store.OpenAccountsDb(Db().c_str()));
        for (const tagAccount& account : accounts)
            ASSERT_TRUE(store.AddAccount(account));
        store.SetLastUser(lastUser);
        ASSERT_TRUE(store.SaveAccountsDb());
    }

    // "name/id/password" of every account in list order.
    static std::string List(const CAccountsStore& store)
    {
        std::string out;
        for (int i = 0; i < store.GetAccountCount(); ++i) {
            tagAccount* account = const_cast<CAccountsStore&>(store).GetAccount(i);
            out += (i ? " " : "") + std::string(account->szAccount) + "/" + std::to_string(account->dwUserID) + "/" +
                   account->szPassword;
        }
        return out;
    }

    std::unique_ptr<CTempFolder> m_folder;
    std::string m_config;
};

// Both files hold abc: the older file's entry comes first, and the next save
// writes both and only then retires the older file.
TEST_F(AccountsStoreTest, IniAndDatabaseAreMergedAndTheIniRetiredAfterTheSave)
{
    SaveDatabase({Account("abc", 2, "db-pass"), Account("xyz", 9, "x")}, "xyz");
    WriteFile(Ini(), "[Account]\r\nAccountCount=2\r\nLastUser=def\r\n"
                     "[Account0]\r\nName=abc\r\nUserID=1\r\nPassword=ini-pass\r\n"
                     "[Account1]\r\nName=def\r\nUserID=3\r\nPassword=d\r\n");
    CAccountsStore store;
    Load(store);
    EXPECT_EQ(List(store), "abc/1/ini-pass def/3/d abc/2/db-pass xyz/9/x");
    EXPECT_EQ(store.GetLastUser(), "xyz"); // the database's flag comes last

    store.SaveAccounts();
    EXPECT_FALSE(FileExists(Ini()));
    CRawDatabase raw(Db(), kThisMachine);
    EXPECT_EQ(raw.Column("SELECT ID || ',' || USER_ID || ',' || USER_ACCOUNT || ',' || IS_LASTACCOUNT FROM tblAccount"),
              "0,1,abc,0|1,3,def,0|2,2,abc,0|3,9,xyz,1");
}

TEST_F(AccountsStoreTest, IniEntriesWithoutNameAreSkippedAndLongTextsCut)
{
    const std::string longName(40, 'n');
    // 30 letters and one double-byte character: 32 bytes, one too many.
    const std::string doubleByteName = std::string(30, 'g') + "\xC4\xE3";
    WriteFile(Ini(), "[Account]\r\nAccountCount=4\r\nLastUser=" + longName +
                         "\r\n"
                         "[Account0]\r\nName=" +
                         longName + "\r\nUserID=4000000000\r\nPassword=" + std::string(300, 'p') +
                         "\r\n[Account1]\r\nUserID=5\r\n"
                         "[Account2]\r\nName=ok\r\nPassword=pw\r\n"
                         "[Account3]\r\nName=" +
                         doubleByteName + "\r\n");
    CAccountsStore store;
    Load(store);
    ASSERT_EQ(store.GetAccountCount(), 3);
    EXPECT_EQ(store.GetAccountName(0), CString(longName.substr(0, 31).c_str()));
    EXPECT_EQ(store.GetAccountUserId(0), 4000000000u);
    EXPECT_EQ(strlen(store.GetAccount(0)->szPassword), 255u);
    EXPECT_EQ(store.GetAccountName(1), "ok");
    EXPECT_EQ(store.GetAccountUserId(1), 0u);
    EXPECT_EQ(store.GetAccountName(2), CString(std::string(30, 'g').c_str()));
    EXPECT_EQ(store.GetLastUser(), CString(longName.substr(0, 31).c_str()));
}

// A count far beyond the sections the file holds ends with the last section.
TEST_F(AccountsStoreTest, IniCountIsBoundByTheSectionsPresent)
{
    WriteFile(Ini(), "[Account]\r\nAccountCount=2000000000\r\n[Account0]\r\nName=a\r\n[Account7]\r\nName=b\r\n");
    CAccountsStore store;
    DWORD start = GetTickCount();
    Load(store);
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_EQ(List(store), "a/0/ b/0/");
}

// A database written under another machine's key is moved aside, never
// deleted; a fresh one takes its place and receives the next save.
TEST_F(AccountsStoreTest, ForeignDatabaseIsMovedAsideAndReplaced)
{
    g_pKey = kOtherMachine;
    SaveDatabase({Account("far", 8, "f")}, "far");
    const std::string foreign = ReadFileBytes(Db());
    g_pKey = kThisMachine;
    WriteFile(Ini(), "[Account]\r\nAccountCount=1\r\n[Account0]\r\nName=near\r\nUserID=6\r\nPassword=n\r\n");

    CAccountsStore store;
    Prepare(store);
    store.LoadAccounts();
    EXPECT_EQ(List(store), "near/6/n");
    EXPECT_EQ(ReadFileBytes(Db() + ".bak"), foreign);
    store.SaveAccounts();
    EXPECT_FALSE(FileExists(Ini()));
    {
        CRawDatabase raw(Db(), kThisMachine);
        EXPECT_EQ(raw.Column("SELECT USER_ACCOUNT FROM tblAccount"), "near");
        CRawDatabase aside(Db() + ".bak", kOtherMachine);
        EXPECT_EQ(aside.Column("SELECT USER_ACCOUNT FROM tblAccount"), "far");
    }

    // The open answers false when it had to make room; the next such file
    // finds the first name taken.
    store.CloseAccountsDb();
    g_pKey = kOtherMachine;
    EXPECT_FALSE(store.OpenAccountsDb(Db().c_str()));
    EXPECT_TRUE(FileExists(Db() + ".bak1"));
    EXPECT_TRUE(store.SaveAccountsDb());
}

// Only a file that is no database under this key makes room: one that is
// busy or failing, or a store without its key, leaves the file and the
// older file alone.
TEST_F(AccountsStoreTest, DatabaseThatCannotBeReadNowIsLeftAlone)
{
    SaveDatabase({Account("abc", 1, "a")}, "abc");
    const std::string before = ReadFileBytes(Db());
    WriteFile(Ini(), "[Account]\r\nAccountCount=1\r\n[Account0]\r\nName=old\r\n");
    enum Trouble
    {
        kLocked,
        kReadsFail,
        kNoKey
    };
    const struct
    {
        const char* name;
        Trouble trouble;
    } cases[] = {{"locked by another connection", kLocked}, {"reads fail", kReadsFail}, {"no key", kNoKey}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CRawDatabase> other;
        if (c.trouble == kLocked) {
            other.reset(new CRawDatabase(Db(), kThisMachine));
            ASSERT_EQ(other->Exec("BEGIN EXCLUSIVE"), SQLITE_OK);
        }
        CSpyVfs spy;
        if (c.trouble == kReadsFail)
            spy.FailRead(SQLITE_OPEN_MAIN_DB, 2, true); // the open reads the header
        g_pKey = c.trouble == kNoKey ? "" : kThisMachine;
        CAccountsStore store;
        Load(store);
        EXPECT_EQ(List(store), "old/0/");
        store.SaveAccounts();
        EXPECT_TRUE(FileExists(Ini()));
        EXPECT_FALSE(FileExists(Db() + ".bak"));
    }
    g_pKey = kThisMachine;
    EXPECT_EQ(ReadFileBytes(Db()), before);
}

TEST_F(AccountsStoreTest, SaveWritesDenseIdsAndOneLastAccountFlag)
{
    struct Case
    {
        const char* lastUser;
        const char* flags;
    };
    const Case cases[] = {
        {"b", "0|1|0|0"},
        {"c", "0|0|1|0"}, // the first of two accounts of that name
        {"B", "0|0|0|0"}, // byte for byte
        {"", "0|0|0|0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lastUser);
        SaveDatabase({Account("a", 1, ""), Account("b", 2, ""), Account("c", 3, "")}, c.lastUser);
        {
            // Two accounts of one name come from merging the older file.
            CAccountsStore store;
            Prepare(store);
            ASSERT_TRUE(store.OpenAccountsDb(Db().c_str()));
            ASSERT_TRUE(store.LoadAccountsDb());
            store.SetLastUser(c.lastUser);
            tagAccount copy = *store.GetAccount(2);
            store.SetAccount(2, copy);
            ASSERT_TRUE(store.AddAccount(Account("d", 4, "")));
            store.SetAccount(3, copy);
            ASSERT_TRUE(store.SaveAccountsDb());
        }
        CRawDatabase raw(Db(), kThisMachine);
        EXPECT_EQ(raw.Column("SELECT ID FROM tblAccount ORDER BY ID"), "0|1|2|3");
        EXPECT_EQ(raw.Column("SELECT IS_LASTACCOUNT FROM tblAccount ORDER BY ID"), c.flags);
    }
}

// A save that fails half-way leaves the table it found, and the older file.
TEST_F(AccountsStoreTest, SaveIsAllOrNothing)
{
    SaveDatabase({Account("a", 1, "")}, "a");
    {
        CRawDatabase raw(Db(), kThisMachine);
        ASSERT_EQ(raw.Exec("CREATE TRIGGER refuse BEFORE INSERT ON tblAccount WHEN NEW.ID = 2 "
                           "BEGIN SELECT RAISE(ABORT, 'full'); END"),
                  SQLITE_OK);
    }
    WriteFile(Ini(), "[Account]\r\nAccountCount=1\r\n[Account0]\r\nName=b\r\nUserID=2\r\n");
    CAccountsStore store;
    Load(store);
    ASSERT_TRUE(store.AddAccount(Account("c", 3, "")));
    ASSERT_EQ(store.GetAccountCount(), 3);
    store.SaveAccounts();
    EXPECT_TRUE(FileExists(Ini()));
    CRawDatabase raw(Db(), kThisMachine);
    EXPECT_EQ(raw.Column("SELECT USER_ACCOUNT FROM tblAccount"), "a");
}

TEST_F(AccountsStoreTest, ApostrophesAndLargeIdsRoundTrip)
{
    SaveDatabase({Account("o'neil", 3000000000u, "it's"), Account("plain", 1, "p")}, "o'neil");
    CAccountsStore store;
    Load(store);
    EXPECT_EQ(List(store), "o'neil/3000000000/it's plain/1/p");
    EXPECT_EQ(store.GetLastUser(), "o'neil");
    EXPECT_EQ(store.GetLastUserId(), 3000000000u);
}

TEST_F(AccountsStoreTest, LookupsByNameAndUserId)
{
    CAccountsStore store;
    Prepare(store);
    ASSERT_TRUE(store.AddAccount(Account("abc", 10, "pa")));
    ASSERT_TRUE(store.AddAccount(Account("second", 20, "ps")));
    EXPECT_FALSE(store.AddAccount(Account("ABC", 11, "other")));
    EXPECT_EQ(store.GetAccountCount(), 2);

    EXPECT_EQ(store.FindAccount("ABC"), 0);
    EXPECT_EQ(store.FindAccount("Second"), 1);
    EXPECT_EQ(store.FindAccount("none"), -1);
    EXPECT_EQ(store.FindAccount(""), -1);
    EXPECT_EQ(store.FindAccount(NULL), -1);

    CString password;
    EXPECT_STREQ(store.GetPasswordByAccount(password, "SECOND"), "ps");
    EXPECT_STREQ(store.GetPasswordByAccount(password, "none"), "");
    EXPECT_STREQ(store.GetPasswordByUserId(password, 10), "pa");
    EXPECT_STREQ(store.GetPasswordByUserId(password, 99), "");
    EXPECT_STREQ(store.GetPasswordByUserId(password, 0), "");

    // The last user's id is found wherever that account stands.
    const struct
    {
        const char* lastUser;
        DWORD userId;
    } lastUsers[] = {{"second", 20}, {"abc", 10}, {"Second", 0}, {"", 0}, {NULL, 0}};
    for (const auto& c : lastUsers) {
        store.SetLastUser(c.lastUser);
        EXPECT_EQ(store.GetLastUserId(), c.userId) << (c.lastUser ? c.lastUser : "null");
    }
    EXPECT_EQ(store.GetLastUser(), "");
    EXPECT_EQ(store.GetAccount(2), nullptr);
    EXPECT_EQ(store.GetAccountName(-1), "");
}

TEST_F(AccountsStoreTest, DeleteAccountRemovesItsUserFolder)
{
    CAccountsStore store;
    Prepare(store);
    ASSERT_TRUE(store.AddAccount(Account("gone", 77, "")));
    ASSERT_TRUE(store.AddAccount(Account("kept", 78, "")));
    const std::string users = m_config + "\\Users";
    ASSERT_TRUE(CreateDirectoryA(users.c_str(), NULL));
    for (const char* folder : {"\\77", "\\78"}) {
        ASSERT_TRUE(CreateDirectoryA((users + folder).c_str(), NULL));
        WriteFile(users + folder + "\\Config.ini", "[LastGames]\r\n");
        WriteFile(users + folder + "\\other.dat", "x");
    }

    store.DeleteAccount("nobody");
    store.DeleteAccount("");
    EXPECT_EQ(store.GetAccountCount(), 2);
    store.DeleteAccount("GONE");
    EXPECT_EQ(List(store), "kept/78/");
    EXPECT_FALSE(FileExists(users + "\\77"));
    EXPECT_TRUE(FileExists(users + "\\78\\Config.ini"));
}

} // namespace
