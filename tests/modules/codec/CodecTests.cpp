// The page codec on real files: what reaches the disk, the key calls, the
// page format, attached databases, failed rekeys and hot journals.
#include <gtest/gtest.h>

#include <string.h>

#include "CodecTestSupport.h"

namespace
{

const char kOtherPhrase[] = "another pass phrase";

std::string Page(const std::string& file, int pageSize, int pageNumber)
{
    return file.substr(size_t(pageSize) * (pageNumber - 1), pageSize);
}

int HeaderPageSize(const std::string& plainPageOne)
{
    int value = (BYTE(plainPageOne[16]) << 8) | BYTE(plainPageOne[17]);
    return value == 1 ? 65536 : value;
}

// Nothing that identifies a database or its content is readable.
void ExpectNoPlainText(const std::string& bytes, const char* what)
{
    SCOPED_TRACE(what);
    EXPECT_FALSE(Contains(bytes, kMagic));
    EXPECT_FALSE(Contains(bytes, kMarker));
}

class CodecTest : public testing::Test
{
protected:
    std::string Path(const char* name = "faces.db") const { return m_dir.File(name); }

    // A keyed database of `rows` faces, closed again.
    void MakeKeyed(const std::string& path, const std::string& phrase, int rows, int pageSize = 0)
    {
        CDatabase db(path);
        ASSERT_EQ(db.Key(phrase), SQLITE_OK);
        if (pageSize != 0) {
            ASSERT_EQ(db.Exec("PRAGMA page_size=" + std::to_string(pageSize)), SQLITE_OK);
        }
        FillFaces(db, rows);
    }

    // The face sum read under that pass phrase (empty: no key).
    std::string ReadBack(const std::string& path, const std::string& phrase)
    {
        CDatabase db(path);
        if (!phrase.empty()) {
            EXPECT_EQ(db.Key(phrase), SQLITE_OK);
        }
        std::string integrity = IntegrityCheck(db);
        return integrity == "ok" ? FaceSum(db) : integrity;
    }

    CTempFolder m_dir;
};

// ---------------------------------------------------------------- files on disk

TEST_F(CodecTest, KeyedDatabaseLeavesNoPlainPageInAnyFileItWrites)
{
    CSpyVfs spy;
    {
        CDatabase db(Path());
        ASSERT_EQ(db.Key(kPassPhrase), SQLITE_OK);
        FillFaces(db, 300);
        // Old pages into the journal, a statement journal, a sort, a
        // temporary table and a vacuum.
        ASSERT_EQ(db.Exec("UPDATE tblCustomFace SET FACE_SIGN = FACE_SIGN || 'x'"), SQLITE_OK) << db.Error();
        // A statement that fails at row 250 of a transaction: rolled back
        // from its statement journal.
        ASSERT_EQ(db.Exec("BEGIN; UPDATE tblCustomFace SET USER_ID = USER_ID + 1000, FACE_SIGN = CASE "
                          "WHEN USER_ID = 250 THEN abs(-9223372036854775808) ELSE FACE_SIGN END;"),
                  SQLITE_ERROR);
        ASSERT_EQ(db.Exec("COMMIT"), SQLITE_OK);
        ASSERT_EQ(db.Exec("CREATE TEMP TABLE copy AS SELECT * FROM tblCustomFace ORDER BY FACE_DATA DESC"), SQLITE_OK);
        ASSERT_EQ(db.Exec("VACUUM"), SQLITE_OK) << db.Error();
        EXPECT_EQ(IntegrityCheck(db), "ok");
    }

    for (const CSpyVfs::OpenedFile& file : spy.Opened())
        EXPECT_TRUE(file.type == SQLITE_OPEN_MAIN_DB || file.type == SQLITE_OPEN_MAIN_JOURNAL)
            << file.name << " type " << std::hex << file.type;
    EXPECT_GT(spy.Written(SQLITE_OPEN_MAIN_JOURNAL).size(), 20u * 1024u); // the journal held old pages
    ExpectNoPlainText(spy.Written(SQLITE_OPEN_MAIN_DB), "database writes");
    ExpectNoPlainText(spy.Written(SQLITE_OPEN_MAIN_JOURNAL), "journal writes");
    ExpectNoPlainText(ReadFileBytes(Path()), "database file");
    EXPECT_EQ(ReadBack(Path(), kPassPhrase), "300/44850.0/5400.0");
}

TEST_F(CodecTest, WrongOrMissingKeyCannotReadTheSchema)
{
    MakeKeyed(Path(), kPassPhrase, 20);
    struct Case
    {
        const char* name;
        const char* keyCall; // null: no key at all
        bool pragma;
        int expected;
    };
    const Case cases[] = {
        {"no key", NULL, false, SQLITE_NOTADB},
        {"other key", kOtherPhrase, false, SQLITE_NOTADB},
        {"other key by pragma", kOtherPhrase, true, SQLITE_NOTADB},
        {"same key by pragma", kPassPhrase, true, SQLITE_OK},
        {"same key", kPassPhrase, false, SQLITE_OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDatabase db(Path());
        if (c.keyCall != NULL && c.pragma) {
            ASSERT_EQ(db.Exec(std::string("PRAGMA key='") + c.keyCall + "'"), SQLITE_OK);
        } else if (c.keyCall != NULL) {
            ASSERT_EQ(db.Key(c.keyCall), SQLITE_OK);
        }
        std::string tables;
        EXPECT_EQ(db.Query("SELECT count(*) FROM sqlite_master", &tables), c.expected);
        if (c.expected == SQLITE_OK) {
            EXPECT_EQ(tables, "1");
        }
    }
}

TEST_F(CodecTest, EmptyPassPhraseLeavesTheFilePlain)
{
    {
        CDatabase db(Path());
        EXPECT_EQ(sqlite3_key(db.Get(), "", 0), SQLITE_OK);
        EXPECT_EQ(sqlite3_key(db.Get(), NULL, 0), SQLITE_OK);
        EXPECT_EQ(sqlite3_key_codec(db.Get(), "ignored", 0), SQLITE_OK);
        FillFaces(db, 5);
    }
    EXPECT_EQ(ReadFileBytes(Path()).compare(0, 15, kMagic), 0);
    EXPECT_EQ(ReadBack(Path(), ""), "5/10.0/85.0");
}

// Each step leaves a file that reads back under its own key and no other.
TEST_F(CodecTest, KeyRekeyAndRekeyToEmptyEachReadBack)
{
    const std::string expected = "120/7140.0/2040.0";
    MakeKeyed(Path(), kPassPhrase, 120);
    struct Step
    {
        const char* rekeyTo;
        bool plainAfter;
    };
    const Step steps[] = {
        {kOtherPhrase, false}, {"", true}, {kPassPhrase, false}, // a plain file keyed again
    };
    std::string current = kPassPhrase;
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string("rekey to '") + step.rekeyTo + "'");
        {
            CDatabase db(Path());
            if (!current.empty()) {
                ASSERT_EQ(db.Key(current), SQLITE_OK);
            }
            ASSERT_EQ(db.Rekey(step.rekeyTo), SQLITE_OK) << db.Error();
            EXPECT_EQ(FaceSum(db), expected); // the connection goes on reading
        }
        std::string bytes = ReadFileBytes(Path());
        EXPECT_EQ(bytes.compare(0, 15, kMagic) == 0, step.plainAfter);
        EXPECT_EQ(Contains(bytes, kMarker), step.plainAfter);
        EXPECT_EQ(ReadBack(Path(), step.rekeyTo), expected);
        if (!current.empty() && current != step.rekeyTo) {
            EXPECT_NE(ReadBack(Path(), current), expected);
        }
        current = step.rekeyTo;
    }
}

TEST_F(CodecTest, RekeyWithinATransactionIsRefused)
{
    MakeKeyed(Path(), kPassPhrase, 10);
    {
        CDatabase db(Path());
        ASSERT_EQ(db.Key(kPassPhrase), SQLITE_OK);
        ASSERT_EQ(db.Exec("BEGIN; DELETE FROM tblCustomFace WHERE USER_ID = 0;"), SQLITE_OK);
        EXPECT_EQ(db.Rekey(kOtherPhrase), SQLITE_ERROR);
        ASSERT_EQ(db.Exec("COMMIT"), SQLITE_OK);
    }
    EXPECT_EQ(ReadBack(Path(), kPassPhrase), "9/45.0/153.0");
}

// ---------------------------------------------------------------- page format

// Every page, page 1 included, is RC4 of the plain page from the start of
// the stream of the key derived from the pass phrase.
TEST_F(CodecTest, PagesAreRc4OfThePlainPageFromTheStreamStart)
{
    const int pageSizes[] = {0, 512, 4096};
    for (int requested : pageSizes) {
        SCOPED_TRACE("page size " + std::to_string(requested));
        std::string path = Path(("format" + std::to_string(requested) + ".db").c_str());
        MakeKeyed(path, kPassPhrase, 60, requested);
        const std::string cipher = ReadFileBytes(path);
        const std::string pageOne = Rc4(kPassPhrase, cipher.substr(0, 100));
        ASSERT_EQ(pageOne.compare(0, 16, std::string(kMagic, 16)), 0);
        const int pageSize = HeaderPageSize(pageOne);
        EXPECT_EQ(pageSize, requested == 0 ? 1024 : requested);
        ASSERT_EQ(cipher.size() % pageSize, 0u);

        {
            CDatabase db(path);
            ASSERT_EQ(db.Key(kPassPhrase), SQLITE_OK);
            ASSERT_EQ(db.Rekey(""), SQLITE_OK);
        }
        const std::string plain = ReadFileBytes(path);
        ASSERT_EQ(plain.size(), cipher.size());
        for (int page = 1; page <= int(cipher.size() / pageSize); ++page) {
            std::string decrypted = Rc4(kPassPhrase, Page(cipher, pageSize, page));
            std::string expected = Page(plain, pageSize, page);
            if (page == 1) {
                // The rekey counted one more change.
                for (int offset : {24, 25, 26, 27, 92, 93, 94, 95})
                    decrypted[offset] = expected[offset];
            }
            ASSERT_EQ(decrypted, expected) << "page " << page;
        }
    }
}

TEST_F(CodecTest, PageSizeChangedByVacuumReadsBack)
{
    MakeKeyed(Path(), kPassPhrase, 80);
    {
        CDatabase db(Path());
        ASSERT_EQ(db.Key(kPassPhrase), SQLITE_OK);
        ASSERT_EQ(db.Exec("PRAGMA page_size=4096; VACUUM;"), SQLITE_OK) << db.Error();
    }
    std::string pageOne = Rc4(kPassPhrase, ReadFileBytes(Path()).substr(0, 4096));
    EXPECT_EQ(HeaderPageSize(pageOne), 4096);
    EXPECT_EQ(ReadBack(Path(), kPassPhrase), "80/3160.0/1360.0");
}

// SQLite reads the header in small pieces; any piece of a page at any
// offset reads and writes through the codec.
TEST_F(CodecTest, PiecesOfAPageReadAndWriteAtAnyOffset)
{
    MakeKeyed(Path(), kPassPhrase, 30);
    const int pageSize = 1024;
    CDatabase db(Path());
    ASSERT_EQ(db.Key(kPassPhrase), SQLITE_OK);
    ASSERT_EQ(IntegrityCheck(db), "ok");
    sqlite3_file* file = NULL;
    ASSERT_EQ(sqlite3_file_control(db.Get(), "main", SQLITE_FCNTL_FILE_POINTER, &file), SQLITE_OK);

    const std::string plainPageTwo = Rc4(kPassPhrase, Page(ReadFileBytes(Path()), pageSize, 2));
    struct Piece
    {
        sqlite3_int64 offset;
        int size;
    };
    const Piece pieces[] = {{0, 16}, {16, 2}, {21, 7}, {1024 + 13, 100}, {1024 + 1000, 24}};
    const std::string pageOne = Rc4(kPassPhrase, Page(ReadFileBytes(Path()), pageSize, 1));
    const std::string plainStart = pageOne + plainPageTwo;
    for (const Piece& piece : pieces) {
        std::string buffer(piece.size, '\0');
        ASSERT_EQ(file->pMethods->xRead(file, &buffer[0], piece.size, piece.offset), SQLITE_OK);
        EXPECT_EQ(buffer, plainStart.substr(size_t(piece.offset), piece.size)) << "offset " << piece.offset;
    }

    // Five bytes into page 2, read back raw and through the codec, then restored.
    const sqlite3_int64 offset = pageSize + 50;
    ASSERT_EQ(file->pMethods->xWrite(file, "ABCDE", 5, offset), SQLITE_OK);
    std::string changed = plainPageTwo;
    changed.replace(50, 5, "ABCDE");
    EXPECT_EQ(Rc4(kPassPhrase, Page(ReadFileBytes(Path()), pageSize, 2)), changed);
    std::string readBack(5, '\0');
    ASSERT_EQ(file->pMethods->xRead(file, &readBack[0], 5, offset), SQLITE_OK);
    EXPECT_EQ(readBack, "ABCDE");
    ASSERT_EQ(file->pMethods->xWrite(file, plainPageTwo.data() + 50, 5, offset), SQLITE_OK);
    EXPECT_EQ(Rc4(kPassPhrase, Page(ReadFileBytes(Path()), pageSize, 2)), plainPageTwo);
}

// ---------------------------------------------------------------- attach

TEST_F(CodecTest, AttachWithoutKeyTakesACopyOfTheMainKey)
{
    const std::string other = Path("other.db");
    MakeKeyed(other, kPassPhrase, 12);
    {
        CDatabase db(Path());
        ASSERT_EQ(db.Key(kPassPhrase), SQLITE_OK);
        ASSERT_EQ(db.Exec("ATTACH '" + other + "' AS aux"), SQLITE_OK) << db.Error();
        std::string count;
        ASSERT_EQ(db.Query("SELECT count(*) FROM aux.tblCustomFace", &count), SQLITE_OK);
        EXPECT_EQ(count, "12");
        ASSERT_EQ(db.Exec("INSERT INTO aux.tblCustomFace VALUES(500, 'KnownFaceSignNew', x'00', '')"), SQLITE_OK);
        ASSERT_EQ(db.Exec("DETACH aux"), SQLITE_OK);
    }
    ExpectNoPlainText(ReadFileBytes(other), "attached file");
    EXPECT_EQ(ReadBack(other, kPassPhrase), "13/566.0/220.0");

    // A plain main database has no key to lend.
    CDatabase plain(Path("plain.db"));
    EXPECT_NE(plain.Exec("ATTACH '" + other + "' AS aux"), SQLITE_OK);
}

// ---------------------------------------------------------------- failures

TEST_F(CodecTest, FailedRekeyLeavesTheFileReadableWithTheOldKey)
{
    const std::string expected = "150/11175.0/2550.0";
    struct Case
    {
        const char* name;
        int type;
        int failingWrite;
    };
    const Case cases[] = {
        {"database write", SQLITE_OPEN_MAIN_DB, 3},
        {"journal write", SQLITE_OPEN_MAIN_JOURNAL, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Path((std::string(c.name) + ".db").c_str());
        MakeKeyed(path, kPassPhrase, 150);
        {
            CSpyVfs spy;
            CDatabase db(path);
            ASSERT_EQ(db.Key(kPassPhrase), SQLITE_OK);
            ASSERT_EQ(FaceSum(db), expected);
            spy.FailWrite(c.type, c.failingWrite);
            EXPECT_NE(db.Rekey(kOtherPhrase), SQLITE_OK);
            EXPECT_EQ(spy.FailedWrites(), 1);
            EXPECT_EQ(FaceSum(db), expected); // the same connection rolled back
        }
        EXPECT_FALSE(FileExists(path + "-journal"));
        EXPECT_EQ(ReadBack(path, kPassPhrase), expected);
        EXPECT_NE(ReadBack(path, kOtherPhrase), expected);
    }
}

// A transaction cut off half-way leaves its journal behind. The journal
// holds pages (and checksums) as the file holds them, so whoever opens the
// file first puts the old pages back, whatever key it has.
TEST_F(CodecTest, HotJournalRollsBackWhicheverKeyOpensItFirst)
{
    const std::string expected = "100/4950.0/1700.0";
    struct Case
    {
        const char* name;
        const char* phrase; // "" for no key
    };
    const Case cases[] = {
        {"no key", ""},
        {"other key", kOtherPhrase},
        {"same key", kPassPhrase},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Path((std::string("hot ") + c.name + ".db").c_str());
        MakeKeyed(path, kPassPhrase, 100);
        {
            CSpyVfs spy;
            CDatabase db(path);
            ASSERT_EQ(db.Key(kPassPhrase), SQLITE_OK);
            // Five pages reach the file, then every write of the database
            // file fails, the rollback's included.
            spy.FailWrite(SQLITE_OPEN_MAIN_DB, 6, true);
            EXPECT_NE(db.Exec("UPDATE tblCustomFace SET FACE_SIGN = 'KnownFaceSignChanged', USER_ID = USER_ID + 1000"),
                      SQLITE_OK);
            db.Close();
            ASSERT_TRUE(FileExists(path + "-journal"));
            ExpectNoPlainText(ReadFileBytes(path + "-journal"), "hot journal");
        }
        {
            CDatabase first(path);
            if (*c.phrase != '\0') {
                ASSERT_EQ(first.Key(c.phrase), SQLITE_OK);
            }
            std::string ignored;
            first.Query("SELECT count(*) FROM sqlite_master", &ignored);
        }
        EXPECT_FALSE(FileExists(path + "-journal"));
        EXPECT_EQ(ReadBack(path, kPassPhrase), expected);
    }
}

TEST_F(CodecTest, WriteAheadLogIsRefusedOnAKeyedDatabase)
{
    MakeKeyed(Path(), kPassPhrase, 3);
    CDatabase db(Path());
    ASSERT_EQ(db.Key(kPassPhrase), SQLITE_OK);
    ASSERT_EQ(db.Exec("PRAGMA locking_mode=EXCLUSIVE"), SQLITE_OK);
    EXPECT_EQ(db.Exec("PRAGMA journal_mode=WAL"), SQLITE_ERROR);
    std::string mode;
    ASSERT_EQ(db.Query("PRAGMA journal_mode", &mode), SQLITE_OK);
    EXPECT_EQ(mode, "delete");
    EXPECT_EQ(FaceSum(db), "3/3.0/51.0");
}

} // namespace
