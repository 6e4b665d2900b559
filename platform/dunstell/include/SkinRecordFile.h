// The skin description: a folder of pictures and the settings file in it.
// The application holds one CSkinRecordFile, initialises it with the skin
// folder and hands its ISkinRecord to CSkinAttribute::LoadSkinAttribute.
//
// The settings file ("Skin.ini" unless another name is given) writes a
// colour as three decimal numbers "red green blue", as every skin file does.
#pragma once

#include <afx.h>
#include <IUnknownEx.h>
#include <RefCounted.h>
#include <IniFile.h>

TAVREL_GUID(IID_ISkinRecord, "5C1B7E2A-93D4-4F0B-A6E1-2D8F47C09B35");

struct ISkinRecord : public IUnknownEx
{
    // The skin folder, ending in a backslash (empty before initialisation).
    virtual LPCTSTR GetResourceDirectory() = 0;
    virtual int ReadInt(LPCTSTR pszSection, LPCTSTR pszKey, int nDefault) = 0;
    // The default when the key is missing or does not hold three numbers 0..255.
    virtual COLORREF ReadColor(LPCTSTR pszSection, LPCTSTR pszKey, COLORREF crDefault) = 0;
    // Answers the length read; the buffer always ends in a terminator.
    virtual int ReadString(LPCTSTR pszSection, LPCTSTR pszKey, LPCTSTR pszDefault, LPTSTR pszBuffer, int nSize) = 0;
};

class CSkinRecordFile : public CRefCounted<ISkinRecord>
{
public:
    CSkinRecordFile();
    ~CSkinRecordFile() override;

    // A null or empty file name stands for "Skin.ini". FALSE without a folder.
    BOOL InitSkinRecordFile(LPCTSTR pszFileName, LPCTSTR pszDirectory);
    CString GetSkinFilePath() const { return m_IniFile.GetIniFileName(); }

    HRESULT QueryInterface(REFGUID iid, void** out) override;

    LPCTSTR GetResourceDirectory() override;
    int ReadInt(LPCTSTR pszSection, LPCTSTR pszKey, int nDefault) override;
    COLORREF ReadColor(LPCTSTR pszSection, LPCTSTR pszKey, COLORREF crDefault) override;
    int ReadString(LPCTSTR pszSection, LPCTSTR pszKey, LPCTSTR pszDefault, LPTSTR pszBuffer, int nSize) override;

private:
    // The object belongs to its holder (a member or a local): references
    // are counted, never deleting it.
    void OnFinalRelease() override {}

    CString m_strDirectory;
    CIniFile m_IniFile;
};
