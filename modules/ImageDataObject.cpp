#include "ImageDataObject.h"

#include "Picture.h"

CImageDataObject::CImageDataObject() : m_lRefCount(1)
{
    ZeroMemory(&m_Format, sizeof(m_Format));
    ZeroMemory(&m_Medium, sizeof(m_Medium));
}

CImageDataObject::~CImageDataObject()
{
    ReleaseMedium();
}

void CImageDataObject::ReleaseMedium()
{
    if (m_Medium.tymed != TYMED_NULL)
        ::ReleaseStgMedium(&m_Medium);
    ZeroMemory(&m_Medium, sizeof(m_Medium));
}

STDMETHODIMP CImageDataObject::QueryInterface(REFIID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
        *out = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *out = NULL;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CImageDataObject::AddRef()
{
    return ULONG(::InterlockedIncrement(&m_lRefCount));
}

STDMETHODIMP_(ULONG) CImageDataObject::Release()
{
    LONG count = ::InterlockedDecrement(&m_lRefCount);
    if (count == 0)
        delete this;
    return count > 0 ? ULONG(count) : 0;
}

STDMETHODIMP CImageDataObject::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (format == NULL || medium == NULL)
        return E_POINTER;
    if (m_Medium.hBitmap == NULL || format->cfFormat != CF_BITMAP || !(format->tymed & TYMED_GDI))
        return DV_E_FORMATETC;
    HANDLE copy = ::OleDuplicateData(m_Medium.hBitmap, CF_BITMAP, 0);
    if (copy == NULL)
        return E_OUTOFMEMORY;
    medium->tymed = TYMED_GDI;
    medium->hBitmap = (HBITMAP)copy;
    medium->pUnkForRelease = NULL;
    return S_OK;
}

STDMETHODIMP CImageDataObject::GetDataHere(FORMATETC*, STGMEDIUM*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CImageDataObject::QueryGetData(FORMATETC* format)
{
    if (format == NULL)
        return E_POINTER;
    return (m_Medium.hBitmap != NULL && format->cfFormat == CF_BITMAP && (format->tymed & TYMED_GDI)) ? S_OK
                                                                                                      : DV_E_FORMATETC;
}

STDMETHODIMP CImageDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CImageDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release)
{
    if (format == NULL || medium == NULL)
        return E_POINTER;
    if (format->cfFormat != CF_BITMAP || medium->tymed != TYMED_GDI)
        return DV_E_FORMATETC;
    STGMEDIUM kept = *medium;
    if (!release) {
        kept.hBitmap = (HBITMAP)::OleDuplicateData(medium->hBitmap, CF_BITMAP, 0);
        kept.pUnkForRelease = NULL;
        if (kept.hBitmap == NULL)
            return E_OUTOFMEMORY;
    }
    ReleaseMedium();
    m_Format = *format;
    m_Medium = kept;
    return S_OK;
}

STDMETHODIMP CImageDataObject::EnumFormatEtc(DWORD, IEnumFORMATETC**)
{
    return E_NOTIMPL;
}

STDMETHODIMP CImageDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CImageDataObject::DUnadvise(DWORD)
{
    return E_NOTIMPL;
}

STDMETHODIMP CImageDataObject::EnumDAdvise(IEnumSTATDATA**)
{
    return E_NOTIMPL;
}

void CImageDataObject::SetBitmap(HBITMAP bitmap)
{
    FORMATETC format = {};
    format.cfFormat = CF_BITMAP;
    format.ptd = NULL;
    format.dwAspect = DVASPECT_CONTENT;
    format.lindex = -1;
    format.tymed = TYMED_GDI;
    STGMEDIUM medium = {};
    medium.tymed = TYMED_GDI;
    medium.hBitmap = bitmap;
    medium.pUnkForRelease = NULL;
    SetData(&format, &medium, TRUE);
}

bool CImageDataObject::SetBitmapFromFile(const char* path)
{
    CPicture picture;
    if (path == NULL || !picture.Load(path))
        return false;
    HBITMAP bitmap = picture.MakeBitmap();
    if (bitmap == NULL)
        return false;
    SetBitmap(bitmap);
    return true;
}

bool CImageDataObject::SetBitmapFromResource(HINSTANCE instance, UINT id)
{
    HBITMAP bitmap = (HBITMAP)::LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (bitmap == NULL)
        return false;
    SetBitmap(bitmap);
    return true;
}

IOleObject* CImageDataObject::CreateStaticObject(IOleClientSite* site, IStorage* storage)
{
    if (m_Medium.hBitmap == NULL)
        return NULL;
    IOleObject* object = NULL;
    HRESULT hr =
        ::OleCreateStaticFromData(this, IID_IOleObject, OLERENDER_FORMAT, &m_Format, site, storage, (void**)&object);
    return SUCCEEDED(hr) ? object : NULL;
}

bool CImageDataObject::InsertBitmap(IRichEditOle* richEditOle, CImageDataObject* image)
{
    if (richEditOle == NULL || image == NULL || !image->HasBitmap())
        return false;
    bool inserted = false;
    IOleClientSite* site = NULL;
    ILockBytes* bytes = NULL;
    IStorage* storage = NULL;
    IOleObject* object = NULL;
    if (richEditOle->GetClientSite(&site) == S_OK && ::CreateILockBytesOnHGlobal(NULL, TRUE, &bytes) == S_OK &&
        ::StgCreateDocfileOnILockBytes(bytes, STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_READWRITE, 0, &storage) ==
            S_OK &&
        (object = image->CreateStaticObject(site, storage)) != NULL) {
        ::OleSetContainedObject(object, TRUE);
        REOBJECT reobject = {};
        reobject.cbStruct = sizeof(reobject);
        object->GetUserClassID(&reobject.clsid);
        reobject.cp = REO_CP_SELECTION;
        reobject.dvaspect = DVASPECT_CONTENT;
        reobject.poleobj = object;
        reobject.polesite = site;
        reobject.pstg = storage;
        inserted = richEditOle->InsertObject(&reobject) == S_OK;
    }
    if (object != NULL)
        object->Release();
    if (storage != NULL)
        storage->Release();
    if (bytes != NULL)
        bytes->Release();
    if (site != NULL)
        site->Release();
    return inserted;
}
