// The face page of the user-service program, in one of two modes: custom
// (the face editor; a confirmed crop is uploaded to the custom-face server,
// stored in the local cache and announced to the hall) or system (the grid
// of numbered faces; a confirmed pick goes to the main dialog).
#pragma once

#include <afxwin.h>

#include "FaceCustomDlg.h"
#include "FaceFrameDlg.h"
#include "Picture.h"
#include "RgnButton.h"
#include "SkinImage.h"
#include "TabDlg.h"

class CSkinScrollWnd;

// Codes of WM_QUILLON_FACE.
const WPARAM FACE_CHANGE_CUSTOM = 1000;
const WPARAM FACE_CHANGE_SYSTEM = 1001;

class CCustomFace : public CTabDlg
{
public:
    static const DWORD kStopWait = 1300;

    explicit CCustomFace(BOOL bCustomMode);
    ~CCustomFace() override;

    // Custom mode uploads the cropped picture (nothing without one, and
    // nothing while an upload runs); system mode hands a changed pick to
    // the main dialog.
    bool Submit(IQuillonDataCenter* pDataCenter) override;
    void RefreshFromData() override;

    BOOL StartUpload();
    void StopUploadThread();
    BOOL IsUploading() const;
    // Puts the picture into the custom-face cache and tells the main dialog.
    BOOL StoreFace(CPicture* pPicture, DWORD dwUserID, LPCSTR pszName);

    // The request's parts for a picture's dump: name = MD5 of the dump,
    // sign = MD5 of "<user id>png<name><key>".
    static CString MakeSign(DWORD dwUserID, LPCSTR pszName, LPCSTR pszKey);
    static CString MakeName(const CPicture& picture);

    // Where the upload address is read (default: the program folder's
    // "config\Urls.ini").
    void SetUrlsFile(LPCSTR pszPath) { m_strUrlsFile = pszPath; }
    const CString& GetSignKey() const { return m_strSignKey; }
    BOOL IsCustomMode() const { return m_bCustomMode; }
    int GetChosenIndex() const { return m_nChosenIndex; }
    CFaceCustomDlg& GetEditor() { return m_FaceCustom; }
    CFaceFrameDlg& GetGrid() { return m_FaceFrame; }
    CSkinScrollWnd* GetScrollWnd() { return m_pScrollWnd; }
    CWinThread* GetUploadThread() { return m_pUploadThread; }

protected:
    static UINT UploadThread(LPVOID pParam);
    UINT Upload();
    int ShowBox(LPCSTR pszText);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override {}
    void OnCancel() override {}

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLoadPicture();
    afx_msg void OnCloseCommand() { OnCancel(); }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg LRESULT OnFacePicked(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CSkinImage m_ImagePreview;
    CSkinImage m_ImageLine;
    CRgnButton m_btLoad;
    CFaceFrameDlg m_FaceFrame;
    CFaceCustomDlg m_FaceCustom;
    CSkinScrollWnd* m_pScrollWnd;
    HBITMAP m_hScrollBitmap;
    CString m_strSignKey;
    CWinThread* m_pUploadThread;
    CRect m_rcHosted;
    CRect m_rcPreview;
    CPen m_BorderPen;
    int m_nChosenIndex;
    BOOL m_bCustomMode;

    // What the running upload works on: taken on this thread when it starts.
    CPicture m_UploadPicture;
    DWORD m_dwUploadUserID;
    HWND m_hMainWnd;
    CString m_strUrlsFile;
};
