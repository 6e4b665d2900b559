// Fixtures of the page codec tests: files in a temporary folder, connections
// that close themselves, a file system under the codec that sees (and can
// break) what reaches the disk, and RC4 computed here through CryptoAPI.
#pragma once

#include <string>
#include <vector>

#include "SQLiteCodec.h"
#include "TempFolder.h"


void WriteBytes(const std::string& path, const std::string& bytes);
bool Contains(const std::string& bytes, const std::string& text);

// Texts that must never reach a keyed file in the plain.
extern const char kMagic[];      // "SQLite format 3"
extern const char kMarker[];     // part of every stored sign
extern const char kPassPhrase[]; // the custom-face cache's

class CDatabase
{
public:
    explicit CDatabase(const std::string& path);
    ~CDatabase();
    sqlite3* Get() const { return m_pDb; }
    void Close();

    int Key(const std::string& passPhrase);
    int Rekey(const std::string& passPhrase);
    int Exec(const std::string& sql);
    // The first column of the first row; rc of the query.
    int Query(const std::string& sql, std::string* value);
    std::string Error() const;

private:
    sqlite3* m_pDb;
};

// A face table of the cache's shape with rows 0 .. count-1, every sign
// holding kMarker, every blob `blobSize` bytes.
void FillFaces(CDatabase& db, int count, int blobSize = 600);
// "ok" when the file reads back whole under the connection's key.
std::string IntegrityCheck(CDatabase& db);
// Sum of the user ids of the face table, or the error.
std::string FaceSum(CDatabase& db);

// RC4 of data from the start of the key stream of the pass phrase's key,
// derived here (SHA-1, then RC4 with the provider's default length).
std::string Rc4(const std::string& passPhrase, const std::string& data);

// Sits under the codec for its lifetime: records the files opened and the
// bytes written, and fails chosen writes.
class CSpyVfs
{
public:
    struct OpenedFile
    {
        std::string name;
        int type; // SQLITE_OPEN_MAIN_DB, SQLITE_OPEN_MAIN_JOURNAL ...
    };

    CSpyVfs();
    ~CSpyVfs();

    const std::vector<OpenedFile>& Opened() const { return m_Opened; }
    // Everything written to files of that type (0: to any file).
    std::string Written(int type = 0) const;
    // The n-th write (1 = the next one) to a file of that type fails, and
    // with `after` every later one too; 0 stops the failing.
    void FailWrite(int type, int n, bool after = false) { m_WriteFault.Arm(type, n, after); }
    int FailedWrites() const { return m_WriteFault.failed; }
    // The same for reads.
    void FailRead(int type, int n, bool after = false) { m_ReadFault.Arm(type, n, after); }

    // Used by the file system's functions.
    void NoteOpen(const char* name, int flags);
    bool NoteWrite(int type, const void* data, int size);
    bool NoteRead(int type) { return !m_ReadFault.Hit(type); }

private:
    struct Write
    {
        int type;
        std::string bytes;
    };
    struct Fault
    {
        int type = 0;
        int countdown = 0;
        bool after = false;
        bool failing = false;
        int failed = 0;
        void Arm(int type, int n, bool after);
        bool Hit(int type);
    };
    std::vector<OpenedFile> m_Opened;
    std::vector<Write> m_Writes;
    Fault m_WriteFault;
    Fault m_ReadFault;
};

const int kOpenTypeMask = 0x00087F00;
