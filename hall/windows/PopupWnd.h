// The pop-up notice manager: turns notice texts from the hall server or the
// administrator into notice windows near the taskbar, fetching a notice's
// picture from the web first when it names one, stacking new notices above
// those on screen, and handling their clicks.
#pragma once

#include "PopupControl.h"

#include <deque>

// The main window hears a clicked hall link as this message: wParam the
// link text (valid during the call), lParam 0.
#define WM_HALL_LINK_COMMAND (WM_USER + 2124)

// What a notice text describes.
struct tagPopupNotice
{
    int nKind;        // 1 picture, 2 text, 3 picture and text
    BYTE cbImageType; // 1 URL to download, 2 file under the program folder, 0 none
    CString strImage;
    CString strText;
    CString strTitle;
    CString strLink;
};

// A notice text: an XML "content" element of type 0, 1 or 2, or any other
// text as a text notice of that body. False for an empty text and for a
// "content" of another type or without any element of its kind.
bool ParsePopupNotice(LPCSTR pszText, tagPopupNotice& notice);

class CPopupWnd : public CWnd
{
public:
    enum
    {
        kDefaultWidth = 236,
        kDefaultHeight = 151,
        kPictureCheck = 100, // ms between looks for a notice's picture
        kWorkerWait = 1300,  // ms the window waits for a download when it goes
        ID_CLOSE = 1,
        ID_PICTURE = 2,
        ID_TITLE = 3,
        ID_BODY = 4,
        ID_LOOKUP = 5,
    };

    CPopupWnd();
    ~CPopupWnd() override;

    // An invisible child of the frame.
    BOOL Create(CWnd* pFrame);
    void ShowPopup(LPCSTR pszText);

    INT_PTR GetNoticeCount() const { return m_Notices.GetSize(); }
    CVKPopupControl* GetNotice(INT_PTR i) const { return m_Notices[i].pNotice; }
    CSize GetNoticeSize() const { return m_size; }
    CPoint GetRememberedAnchor() const { return m_ptAnchor; }
    const CString& GetResourceFolder() const { return m_strResFolder; }
    // Whether a picture download is under way.
    bool IsDownloading() const { return m_hWorker != NULL; }

protected:
    struct tagNoticeEntry
    {
        CVKPopupControl* pNotice;
        CPicture* pPicture; // the notice's own picture
        bool bReady;        // its picture has arrived
    };

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnPopupNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPictureDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    void ApplyShowSettings(CVKPopupControl* pNotice);
    void BuildItems(tagNoticeEntry& entry);
    void Place(CVKPopupControl* pNotice);
    void StartNextDownload();
    void StopWorker();
    void OpenLink(const CString& strLink);

    CPicture m_Back, m_Close, m_Lookup;
    CPoint m_ptAnchor;
    CString m_strResFolder;
    CArray<tagNoticeEntry, const tagNoticeEntry&> m_Notices;
    std::deque<int> m_Waiting; // notice ids whose picture is still to fetch
    CSize m_size;
    HANDLE m_hWorker;
    int m_nWorkerNotice;
};
