// The animated picture object: shows one frame of a picture file at a time
// and moves to the next one when the frame's delay has passed.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

#include "Corvath.h"

class CPicture;

class CCorvathPicture final : public IOleObject, public IViewObject2, public IDataObject, public ICorvathPicture
{
public:
    CCorvathPicture();

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID iid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // IOleObject
    STDMETHOD(SetClientSite)(IOleClientSite* site) override;
    STDMETHOD(GetClientSite)(IOleClientSite** site) override;
    STDMETHOD(SetHostNames)(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHOD(Close)(DWORD) override;
    STDMETHOD(SetMoniker)(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHOD(GetMoniker)(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHOD(InitFromData)(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetClipboardData)(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHOD(DoVerb)(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return S_OK; }
    STDMETHOD(EnumVerbs)(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHOD(Update)() override { return S_OK; }
    STDMETHOD(IsUpToDate)() override { return S_OK; }
    STDMETHOD(GetUserClassID)(CLSID* clsid) override;
    STDMETHOD(GetUserType)(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHOD(SetExtent)(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHOD(GetExtent)(DWORD aspect, SIZEL* size) override;
    STDMETHOD(Advise)(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(Unadvise)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumAdvise)(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHOD(GetMiscStatus)(DWORD, DWORD* status) override;
    STDMETHOD(SetColorScheme)(LOGPALETTE*) override { return E_NOTIMPL; }

    // IViewObject2
    STDMETHOD(Draw)
    (DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDc, HDC dc, LPCRECTL bounds,
     LPCRECTL wBounds, BOOL(STDMETHODCALLTYPE* pfnContinue)(ULONG_PTR), ULONG_PTR continueArg) override;
    STDMETHOD(GetColorSet)(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHOD(Freeze)(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(Unfreeze)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetAdvise)(DWORD, DWORD, IAdviseSink*) override { return S_OK; }
    STDMETHOD(GetAdvise)(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
    STDMETHOD(GetExtent)(DWORD aspect, LONG index, DVTARGETDEVICE* device, LPSIZEL size) override;

    // IDataObject: the frame on show as CF_BITMAP in TYMED_GDI.
    STDMETHOD(GetData)(FORMATETC* format, STGMEDIUM* medium) override;
    STDMETHOD(GetDataHere)(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHOD(QueryGetData)(FORMATETC* format) override;
    STDMETHOD(GetCanonicalFormatEtc)(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHOD(SetData)(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHOD(EnumFormatEtc)(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHOD(DAdvise)(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHOD(DUnadvise)(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHOD(EnumDAdvise)(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

    // ICorvathPicture
    HRESULT STDMETHODCALLTYPE ShowFile(LPCSTR path) override;
    HRESULT STDMETHODCALLTYPE GetFile(LPSTR buffer, UINT size) override;
    HRESULT STDMETHODCALLTYPE GetFrameInfo(LONG* current, LONG* count) override;

    // Called by the animation timer.
    void NextFrame();

private:
    ~CCorvathPicture();
    const CPicture* FrameOnShow() const;
    void StopTimer();

    LONG m_lRefCount;
    IOleClientSite* m_pSite;
    CPicture* m_pPicture;
    std::string m_strFile;
    long m_nFrame;
    UINT_PTR m_nTimer;
};
