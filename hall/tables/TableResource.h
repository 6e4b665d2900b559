// The skin of one game's tables: the table pictures, the chair, name, ready
// and lock positions, the text colours and each chair's name alignment, read
// from "<program folder>\<game folder>\table.ini" and the pictures beside it.
// The anti-cheat and cycle-match presentations load their variants into the
// same object.
#pragma once

#include <afxwin.h>

#include "Picture.h"
#include "SkinImage.h"

// Chairs a table can have; every per-chair array holds this many.
#define MAX_TABLE_CHAIR 300

class CTableResource
{
public:
    CTableResource();
    virtual ~CTableResource();

    // Reads the skin of the game folder; on any failure the resource is
    // reset and false answered.
    bool LoadTableResource(const char* pszGameDirectory);
    // The anti-cheat (cycle false) or cycle-match variant, over a loaded skin.
    // A picture that does not load stays empty.
    void LoadMatchCheatResource(bool bCycle);
    void ResetTableResource();

    // The folder of the skin, "<program folder>\<game folder>\".
    CString GetSkinFolder() const;

public:
    WORD m_wWidth;
    WORD m_wHeight;
    COLORREF m_crBackGround;
    COLORREF m_crChairBackGround;
    char m_szGameDirectory[MAX_PATH];
    CPoint m_ptLock;
    CRect m_rcNote0;
    CRect m_rcTableID;
    CPoint m_ptReady[MAX_TABLE_CHAIR];
    CRect m_rcName[MAX_TABLE_CHAIR];
    CRect m_rcChair[MAX_TABLE_CHAIR];
    CRect m_rcTableName;
    CRect m_rcTableMultiple;
    CRect m_rcTableInnings;
    CPoint m_ptTableIdentify;
    CPoint m_ptCycleMatchLog;
    int m_nOffYCycleMatchButton;
    COLORREF m_crName;
    COLORREF m_crMemberName;
    COLORREF m_crNote;
    COLORREF m_crTableID;
    COLORREF m_crTableName;
    DWORD m_nDrawStyle[MAX_TABLE_CHAIR];

    CSkinImage m_ImageLocker;
    CSkinImage m_ImagePlaying;
    CSkinImage m_ImageReady;
    CSkinImage m_ImageNormal;
    CPicture m_PicMale;
    CPicture m_PicFemale;
    CPicture m_PicNotice;
    CPicture m_PicTableIdentify;
    CPicture m_PicCycleLogo;
    CPicture m_PicCycleStart;

private:
    CTableResource(const CTableResource&) = delete;
    CTableResource& operator=(const CTableResource&) = delete;

    // The chair positions of keys "<prefix>%d"; chairs from the count on
    // are cleared. Answers the count, within 0..MAX_TABLE_CHAIR.
    int LoadChairs(const CString& strIniFile, const char* pszReady, const char* pszName, const char* pszChair,
                   const char* pszStyle);
    // Size and the two background colours from the normal picture.
    void TakeSizeFromNormal();
};
