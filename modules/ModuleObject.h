// Reference counting shared by the module objects that DllGetClassObject
// hands out. The count starts at 0: DllGetClassObject's QueryInterface gives
// the caller the first reference, and the last Release deletes the object.
#pragma once

#include "IUnknownEx.h"

template <class I> class CModuleObject : public I
{
public:
    ULONG AddRef() override { return ULONG(++m_lRefCount); }

    ULONG Release() override
    {
        if (--m_lRefCount > 0)
            return ULONG(m_lRefCount);
        delete this;
        return 0;
    }

protected:
    CModuleObject() : m_lRefCount(0) {}
    virtual ~CModuleObject() {}

    // The answer for an interface id the object serves: this object under
    // the wanted interface, with a reference for the caller.
    HRESULT Answer(void* pInterface, void** out)
    {
        *out = pInterface;
        AddRef();
        return S_OK;
    }

private:
    LONG m_lRefCount;
};
