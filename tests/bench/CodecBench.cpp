// Writes and reads 10,000 rows of the custom-face cache's table through the
// page codec and through a plain connection, and prints the times and their
// ratio. Run by hand: codec_bench [rows] [blob bytes] [rounds].
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "SQLiteCodec.h"

namespace
{

const char kPassPhrase[] = "5@8#1&R!T^M?";

struct Timing
{
    double writeMs;
    double readMs;
    long long fileBytes;
};

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

bool Check(int rc, sqlite3* db, const char* what)
{
    if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW)
        return true;
    fprintf(stderr, "%s: %d %s\n", what, rc, db != NULL ? sqlite3_errmsg(db) : "");
    return false;
}

bool Run(const std::string& path, bool keyed, int rows, int blobSize, Timing* timing)
{
    DeleteFileA(path.c_str());
    DeleteFileA((path + "-journal").c_str());
    sqlite3* db = NULL;
    if (!Check(sqlite3_open(path.c_str(), &db), db, "open"))
        return false;
    if (keyed && !Check(sqlite3_key_codec(db, kPassPhrase, int(sizeof(kPassPhrase) - 1)), db, "key"))
        return false;
    if (!Check(sqlite3_exec(db,
                            "CREATE TABLE tblCustomFace('USER_ID' INTEGER PRIMARY KEY, 'FACE_SIGN'varchar(32),"
                            "'FACE_DATA' BLOB,'ACTIVITY_DATE' varchar(32));",
                            NULL, NULL, NULL),
               db, "create"))
        return false;

    std::vector<unsigned char> blob(blobSize);
    double start = Now();
    sqlite3_exec(db, "BEGIN", NULL, NULL, NULL);
    for (int i = 0; i < rows; ++i) {
        for (int k = 0; k < blobSize; ++k)
            blob[k] = (unsigned char)(i * 31 + k * 7);
        char* sql = sqlite3_mprintf("INSERT INTO %q VALUES(%u,'%q',?,datetime('now'));", "tblCustomFace",
                                    unsigned(100000 + i), "0123456789abcdef0123456789abcdef");
        sqlite3_stmt* insert = NULL;
        bool ok = Check(sqlite3_prepare_v2(db, sql, -1, &insert, NULL), db, "prepare insert") &&
                  Check(sqlite3_bind_blob(insert, 1, blob.data(), blobSize, SQLITE_STATIC), db, "bind") &&
                  Check(sqlite3_step(insert), db, "insert");
        sqlite3_finalize(insert);
        sqlite3_free(sql);
        if (!ok)
            return false;
    }
    if (!Check(sqlite3_exec(db, "COMMIT", NULL, NULL, NULL), db, "commit"))
        return false;
    sqlite3_close(db);
    timing->writeMs = Now() - start;

    // Reading as the cache loads a face: a fresh connection, one row at a time.
    start = Now();
    if (!Check(sqlite3_open(path.c_str(), &db), db, "reopen"))
        return false;
    if (keyed && !Check(sqlite3_key_codec(db, kPassPhrase, int(sizeof(kPassPhrase) - 1)), db, "key"))
        return false;
    long long bytes = 0;
    for (int i = 0; i < rows; ++i) {
        char* sql =
            sqlite3_mprintf("SELECT * FROM %q WHERE %q = %u;", "tblCustomFace", "USER_ID", unsigned(100000 + i));
        sqlite3_stmt* select = NULL;
        bool ok = Check(sqlite3_prepare_v2(db, sql, -1, &select, NULL), db, "prepare select") &&
                  sqlite3_step(select) == SQLITE_ROW;
        if (ok)
            bytes += sqlite3_column_bytes(select, 2);
        sqlite3_finalize(select);
        sqlite3_free(sql);
        if (!ok) {
            fprintf(stderr, "row %d missing\n", i);
            return false;
        }
    }
    sqlite3_close(db);
    timing->readMs = Now() - start;

    WIN32_FILE_ATTRIBUTE_DATA data;
    timing->fileBytes = GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)
                            ? (long long)data.nFileSizeHigh << 32 | data.nFileSizeLow
                            : 0;
    return bytes == (long long)rows * blobSize;
}

} // namespace

// The best of `rounds` runs of each, plain and keyed taking turns, so that
// neither pays alone for a cold start.
int main(int argc, char** argv)
{
    int rows = argc > 1 ? atoi(argv[1]) : 10000;
    int blobSize = argc > 2 ? atoi(argv[2]) : 6440; // a 40 x 40 face dump
    int rounds = argc > 3 ? atoi(argv[3]) : 3;
    char folder[MAX_PATH];
    GetTempPathA(sizeof(folder), folder);
    std::string plainPath = std::string(folder) + "codec_bench_plain.db";
    std::string keyedPath = std::string(folder) + "codec_bench_keyed.db";

    Timing plain = {}, keyed = {};
    for (int round = 0; round < rounds; ++round) {
        Timing plainRun = {}, keyedRun = {};
        if (!Run(plainPath, false, rows, blobSize, &plainRun) || !Run(keyedPath, true, rows, blobSize, &keyedRun))
            return 1;
        if (round == 0 || plainRun.writeMs < plain.writeMs)
            plain.writeMs = plainRun.writeMs;
        if (round == 0 || plainRun.readMs < plain.readMs)
            plain.readMs = plainRun.readMs;
        if (round == 0 || keyedRun.writeMs < keyed.writeMs)
            keyed.writeMs = keyedRun.writeMs;
        if (round == 0 || keyedRun.readMs < keyed.readMs)
            keyed.readMs = keyedRun.readMs;
        plain.fileBytes = plainRun.fileBytes;
        keyed.fileBytes = keyedRun.fileBytes;
    }
    DeleteFileA(plainPath.c_str());
    DeleteFileA(keyedPath.c_str());

    printf("%d rows of %d bytes, written in one transaction, read one row per query; best of %d runs\n", rows, blobSize,
           rounds);
    printf("plain: write %8.1f ms  read %8.1f ms  file %lld bytes\n", plain.writeMs, plain.readMs, plain.fileBytes);
    printf("keyed: write %8.1f ms  read %8.1f ms  file %lld bytes\n", keyed.writeMs, keyed.readMs, keyed.fileBytes);
    printf("ratio keyed/plain: write %.2f  read %.2f  total %.2f\n", keyed.writeMs / plain.writeMs,
           keyed.readMs / plain.readMs, (keyed.writeMs + keyed.readMs) / (plain.writeMs + plain.readMs));
    return 0;
}
