#include "CorvathPicture.h"

#include <map>

#include "Picture.h"

extern LONG g_lCorvathObjects;

namespace
{

// Thread timers carry no context: the live ones map back to their objects.
std::map<UINT_PTR, CCorvathPicture*>& Timers()
{
    static std::map<UINT_PTR, CCorvathPicture*> timers;
    return timers;
}

void CALLBACK OnFrameTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    auto it = Timers().find(id);
    if (it != Timers().end())
        it->second->NextFrame();
}

const UINT kMinFrameDelay = 50;

} // namespace

CCorvathPicture::CCorvathPicture() : m_lRefCount(1), m_pSite(NULL), m_pPicture(NULL), m_nFrame(0), m_nTimer(0)
{
    ::InterlockedIncrement(&g_lCorvathObjects);
}

CCorvathPicture::~CCorvathPicture()
{
    StopTimer();
    delete m_pPicture;
    if (m_pSite != NULL)
        m_pSite->Release();
    ::InterlockedDecrement(&g_lCorvathObjects);
}

STDMETHODIMP CCorvathPicture::QueryInterface(REFIID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleObject))
        *out = static_cast<IOleObject*>(this);
    else if (IsEqualIID(iid, IID_IViewObject) || IsEqualIID(iid, IID_IViewObject2))
        *out = static_cast<IViewObject2*>(this);
    else if (IsEqualIID(iid, IID_IDataObject))
        *out = static_cast<IDataObject*>(this);
    else if (IsEqualIID(iid, IID_ICorvathPicture))
        *out = static_cast<ICorvathPicture*>(this);
    else {
        *out = NULL;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CCorvathPicture::AddRef()
{
    return ULONG(::InterlockedIncrement(&m_lRefCount));
}

STDMETHODIMP_(ULONG) CCorvathPicture::Release()
{
    LONG count = ::InterlockedDecrement(&m_lRefCount);
    if (count == 0)
        delete this;
    return count > 0 ? ULONG(count) : 0;
}

STDMETHODIMP CCorvathPicture::SetClientSite(IOleClientSite* site)
{
    if (site != NULL)
        site->AddRef();
    if (m_pSite != NULL)
        m_pSite->Release();
    m_pSite = site;
    return S_OK;
}

STDMETHODIMP CCorvathPicture::GetClientSite(IOleClientSite** site)
{
    if (site == NULL)
        return E_POINTER;
    *site = m_pSite;
    if (m_pSite != NULL)
        m_pSite->AddRef();
    return S_OK;
}

STDMETHODIMP CCorvathPicture::Close(DWORD)
{
    StopTimer();
    return SetClientSite(NULL);
}

STDMETHODIMP CCorvathPicture::GetUserClassID(CLSID* clsid)
{
    if (clsid == NULL)
        return E_POINTER;
    *clsid = CLSID_Corvath;
    return S_OK;
}

STDMETHODIMP CCorvathPicture::GetExtent(DWORD aspect, SIZEL* size)
{
    return GetExtent(aspect, -1, NULL, size);
}

STDMETHODIMP CCorvathPicture::GetMiscStatus(DWORD, DWORD* status)
{
    if (status == NULL)
        return E_POINTER;
    *status = OLEMISC_RECOMPOSEONRESIZE;
    return S_OK;
}

// Extents are in HIMETRIC at 96 pixels per inch.
STDMETHODIMP CCorvathPicture::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size)
{
    if (size == NULL)
        return E_POINTER;
    const CPicture* frame = FrameOnShow();
    if (aspect != DVASPECT_CONTENT || frame == NULL)
        return E_FAIL;
    size->cx = MulDiv(frame->GetWidth(), 2540, 96);
    size->cy = MulDiv(frame->GetHeight(), 2540, 96);
    return S_OK;
}

STDMETHODIMP CCorvathPicture::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                                   BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    if (aspect != DVASPECT_CONTENT || dc == NULL || bounds == NULL)
        return E_INVALIDARG;
    const CPicture* frame = FrameOnShow();
    if (frame == NULL)
        return OLE_E_BLANK;
    return frame->Draw(dc, bounds->left, bounds->top, bounds->right - bounds->left, bounds->bottom - bounds->top)
               ? S_OK
               : E_FAIL;
}

STDMETHODIMP CCorvathPicture::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (format == NULL || medium == NULL)
        return E_POINTER;
    if (QueryGetData(format) != S_OK)
        return DV_E_FORMATETC;
    const CPicture* frame = FrameOnShow();
    if (frame == NULL)
        return OLE_E_BLANK;
    HBITMAP bitmap = frame->MakeBitmap();
    if (bitmap == NULL)
        return E_OUTOFMEMORY;
    medium->tymed = TYMED_GDI;
    medium->hBitmap = bitmap;
    medium->pUnkForRelease = NULL;
    return S_OK;
}

STDMETHODIMP CCorvathPicture::QueryGetData(FORMATETC* format)
{
    if (format == NULL)
        return E_POINTER;
    return format->cfFormat == CF_BITMAP && (format->tymed & TYMED_GDI) && format->dwAspect == DVASPECT_CONTENT
               ? S_OK
               : DV_E_FORMATETC;
}

HRESULT STDMETHODCALLTYPE CCorvathPicture::ShowFile(LPCSTR path)
{
    if (path == NULL || *path == '\0')
        return E_INVALIDARG;
    StopTimer();
    CPicture* picture = new CPicture;
    picture->SetRetrieveAllFrames(true);
    if (!picture->Load(path)) {
        delete picture;
        return E_FAIL;
    }
    delete m_pPicture;
    m_pPicture = picture;
    m_strFile = path;
    m_nFrame = 0;
    if (m_pPicture->GetNumFrames() > 1) {
        const CPicture* frame = FrameOnShow();
        UINT delay = frame != NULL ? frame->GetFrameDelay() : 0;
        m_nTimer = ::SetTimer(NULL, 0, delay > kMinFrameDelay ? delay : kMinFrameDelay, OnFrameTimer);
        if (m_nTimer != 0)
            Timers()[m_nTimer] = this;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CCorvathPicture::GetFile(LPSTR buffer, UINT size)
{
    if (buffer == NULL || size == 0)
        return E_INVALIDARG;
    lstrcpynA(buffer, m_strFile.c_str(), int(size));
    return m_strFile.empty() ? S_FALSE : S_OK;
}

HRESULT STDMETHODCALLTYPE CCorvathPicture::GetFrameInfo(LONG* current, LONG* count)
{
    if (current == NULL || count == NULL)
        return E_POINTER;
    *current = m_nFrame;
    *count = m_pPicture != NULL ? m_pPicture->GetNumFrames() : 0;
    return S_OK;
}

const CPicture* CCorvathPicture::FrameOnShow() const
{
    if (m_pPicture == NULL)
        return NULL;
    if (m_pPicture->GetNumFrames() > 1) {
        const CPicture* frame = m_pPicture->GetFrame(m_nFrame);
        if (frame != NULL)
            return frame;
    }
    return m_pPicture;
}

void CCorvathPicture::NextFrame()
{
    if (m_pPicture == NULL || m_pPicture->GetNumFrames() < 2)
        return;
    m_nFrame = (m_nFrame + 1) % m_pPicture->GetNumFrames();
    // The container repaints the object with the new frame.
    IOleWindow* window = NULL;
    if (m_pSite != NULL && m_pSite->QueryInterface(IID_IOleWindow, (void**)&window) == S_OK) {
        HWND hWnd = NULL;
        if (window->GetWindow(&hWnd) == S_OK && hWnd != NULL)
            ::InvalidateRect(hWnd, NULL, FALSE);
        window->Release();
    }
}

void CCorvathPicture::StopTimer()
{
    if (m_nTimer != 0) {
        ::KillTimer(NULL, m_nTimer);
        Timers().erase(m_nTimer);
        m_nTimer = 0;
    }
}
