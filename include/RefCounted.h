// Interlocked reference counting for the objects handed out through
// IUnknownEx. The count starts at 0: the first QueryInterface gives the
// caller its reference, and the last Release deletes the object. An object
// that belongs to its holder (a member or a local) overrides OnFinalRelease
// to stay.
#pragma once

#include "IUnknownEx.h"

template <class I> class CRefCounted : public I
{
public:
    ULONG AddRef() override { return ULONG(::InterlockedIncrement(&m_lRefCount)); }

    ULONG Release() override
    {
        LONG count = ::InterlockedDecrement(&m_lRefCount);
        if (count == 0)
            OnFinalRelease();
        return count > 0 ? ULONG(count) : 0;
    }

protected:
    CRefCounted() : m_lRefCount(0) {}
    virtual ~CRefCounted() {}

    virtual void OnFinalRelease() { delete this; }

    // The answer for an interface id the object serves: this object under
    // the wanted interface, with a reference for the caller.
    HRESULT Answer(void* pInterface, void** out)
    {
        *out = pInterface;
        AddRef();
        return S_OK;
    }

private:
    CRefCounted(const CRefCounted&) = delete;
    CRefCounted& operator=(const CRefCounted&) = delete;

    volatile LONG m_lRefCount;
};
