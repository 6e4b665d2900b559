/* SQLite itself, with the few entry points into its pager that rekeying
** needs. Built with the codec's options (see CMakeLists.txt). */
#include "sqlite3.c"

#include "CodecInternals.h"

sqlite3_file* CodecDatabaseFile(sqlite3* db, int iDb)
{
    Btree* pBt;
    if (db == 0 || iDb < 0 || iDb >= db->nDb)
        return 0;
    pBt = db->aDb[iDb].pBt;
    return pBt ? sqlite3PagerFile(sqlite3BtreePager(pBt)) : 0;
}

int CodecDatabasePageSize(sqlite3* db, int iDb)
{
    if (db == 0 || iDb < 0 || iDb >= db->nDb || db->aDb[iDb].pBt == 0)
        return 0;
    return sqlite3BtreeGetPageSize(db->aDb[iDb].pBt);
}

int CodecRewritePages(sqlite3* db, int iDb)
{
    Btree* pBt;
    int rc;

    if (iDb < 0 || iDb >= db->nDb || (pBt = db->aDb[iDb].pBt) == 0)
        return SQLITE_ERROR;
    /* Committing here would commit the caller's own transaction as well. */
    if (!db->autoCommit)
        return SQLITE_ERROR;

    rc = sqlite3BtreeBeginTrans(pBt, 1, 0);
    if (rc == SQLITE_OK)
    {
        Pager* pPager = sqlite3BtreePager(pBt);
        Pgno lockPage = (Pgno)(PENDING_BYTE / sqlite3BtreeGetPageSize(pBt)) + 1;
        int nPage = 0;
        Pgno pgno;

        sqlite3BtreeEnter(pBt);
        sqlite3PagerPagecount(pPager, &nPage);
        for (pgno = 1; rc == SQLITE_OK && pgno <= (Pgno)nPage; ++pgno)
        {
            DbPage* pPage;
            if (pgno == lockPage)
                continue;
            rc = sqlite3PagerGet(pPager, pgno, &pPage, 0);
            if (rc == SQLITE_OK)
            {
                rc = sqlite3PagerWrite(pPage);
                sqlite3PagerUnref(pPage);
            }
        }
        sqlite3BtreeLeave(pBt);
    }
    if (rc == SQLITE_OK)
        rc = sqlite3BtreeCommit(pBt);
    return rc;
}

void CodecRollbackPages(sqlite3* db, int iDb)
{
    if (iDb >= 0 && iDb < db->nDb && db->aDb[iDb].pBt != 0)
        sqlite3BtreeRollback(db->aDb[iDb].pBt, SQLITE_OK, 0);
}

void CodecSetError(sqlite3* db, int rc, const char* message)
{
    if (message)
        sqlite3ErrorWithMsg(db, rc, "%s", message);
    else
        sqlite3Error(db, rc);
}
