// A data object that offers one bitmap (CF_BITMAP in TYMED_GDI), from which
// a static OLE object is made for a rich edit: the type icons in front of
// chat lines.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <richole.h>

class CImageDataObject final : public IDataObject
{
public:
    CImageDataObject();

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // IDataObject: GetData hands out a copy of the bitmap; SetData takes the
    // format and the medium. The rest is not offered.
    STDMETHOD(GetData)(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHOD(GetDataHere)(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHOD(QueryGetData)(FORMATETC* format) override;
    STDMETHOD(GetCanonicalFormatEtc)(FORMATETC* in, FORMATETC* out) override;
    STDMETHOD(SetData)(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    STDMETHOD(EnumFormatEtc)(DWORD direction, IEnumFORMATETC** out) override;
    STDMETHOD(DAdvise)(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
    STDMETHOD(DUnadvise)(DWORD connection) override;
    STDMETHOD(EnumDAdvise)(IEnumSTATDATA** out) override;

    // Takes the bitmap over; it is deleted with the medium.
    void SetBitmap(HBITMAP bitmap);
    bool SetBitmapFromFile(const char* path);
    bool SetBitmapFromResource(HINSTANCE instance, UINT id);
    bool HasBitmap() const { return m_Medium.hBitmap != NULL; }
    HBITMAP GetBitmap() const { return m_Medium.hBitmap; }

    // A static OLE object showing the bitmap, for IRichEditOle::InsertObject.
    IOleObject* CreateStaticObject(IOleClientSite* site, IStorage* storage);

    // Inserts the bitmap at the rich edit's selection; false when nothing
    // was inserted.
    static bool InsertBitmap(IRichEditOle* richEditOle, CImageDataObject* image);

private:
    ~CImageDataObject();
    void ReleaseMedium();

    LONG m_lRefCount;
    FORMATETC m_Format;
    STGMEDIUM m_Medium;
};
