// The main frame's client area: the plaza view on the left, the room tab
// window on the right, and between them a splitter whose button folds the
// plaza away.
#pragma once

#include <afxwin.h>

#include "PlazaViewItem.h"
#include "RoomControlWnd.h"
#include "SkinSplitter.h"
#include "SkinWnd.h"

enum
{
    IDC_HALL_PLAZA = 1004,
    IDC_HALL_SPLITTER = 1005,
    IDC_HALL_ROOMS = 1006,
};

class CGameHall : public CSkinWnd, public ISplitterSink
{
public:
    static const int kPlazaWidth = 290;
    static const int kSplitterWidth = 9;

    CGameHall();
    ~CGameHall() override;

    // The room tab pane: the hall's own room tab window unless another
    // window is given before the hall is made.
    void SetRoomTabs(CWnd* pRoomTabs) { m_pRoomTabs = pRoomTabs; }
    CRoomControlWnd& GetRoomControl() { return m_RoomControl; }
    CPlazaViewItem* GetPlazaView() { return &m_PlazaView; }
    CWnd* GetRoomTabs() { return m_pRoomTabs; }
    CSkinSplitter& GetSplitter() { return m_Splitter; }

    // Folds or unfolds the plaza; bRoomWide lets the room tabs take the
    // splitter's place too. Nothing happens when both equal the stored pair.
    void Layout(bool bPlazaFolded, bool bRoomWide);
    void ResizeChildren(int cx, int cy);
    bool IsPlazaFolded() const { return m_bPlazaFolded; }
    int GetSplitterPos() const { return m_nSplitterPos; }
    // The drag range last given to the splitter.
    void GetSplitterRange(int& nMin, int& nMax) const
    {
        nMin = m_nRangeMin;
        nMax = m_nRangeMax;
    }

    bool OnSplitterButton(CSkinSplitter* pSkinSplitter, HWND hSplitter) override;
    bool OnSplitterEvent(CSkinSplitter* pSkinSplitter, int nPosition) override { return true; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    void SetButtonPicture();

    bool m_bPlazaFolded;
    int m_nSplitterPos;
    bool m_bRoomWide;
    int m_nRangeMin, m_nRangeMax;
    CString m_strSplitterFolder;
    CPlazaViewItem m_PlazaView;
    CSkinSplitter m_Splitter;
    CWnd* m_pRoomTabs;
    CRoomControlWnd m_RoomControl;
};
