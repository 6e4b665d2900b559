// Small owners of SQLite resources, so every way out of a query frees them
// and the connection can always close.
#pragma once

#include <sqlite3.h>

// Text from sqlite3_mprintf, freed with the holder.
class CSqlText
{
public:
    explicit CSqlText(char* text) : m_pText(text) {}
    ~CSqlText() { sqlite3_free(m_pText); }
    operator const char*() const { return m_pText; }

private:
    CSqlText(const CSqlText&) = delete;
    CSqlText& operator=(const CSqlText&) = delete;
    char* m_pText;
};

// A prepared statement, finalized when the holder goes or prepares again.
class CStatement
{
public:
    CStatement() : m_pStatement(NULL) {}
    ~CStatement() { Finalize(); }

    bool Prepare(sqlite3* db, const char* sql)
    {
        Finalize();
        return sql != NULL && sqlite3_prepare_v2(db, sql, -1, &m_pStatement, NULL) == SQLITE_OK && m_pStatement != NULL;
    }
    void Finalize()
    {
        sqlite3_finalize(m_pStatement);
        m_pStatement = NULL;
    }
    operator sqlite3_stmt*() const { return m_pStatement; }

private:
    CStatement(const CStatement&) = delete;
    CStatement& operator=(const CStatement&) = delete;
    sqlite3_stmt* m_pStatement;
};

// Runs SQL text that may be null (a failed sqlite3_mprintf).
inline int SqlExecute(sqlite3* db, const char* sql)
{
    return sql != NULL ? sqlite3_exec(db, sql, NULL, NULL, NULL) : SQLITE_NOMEM;
}
