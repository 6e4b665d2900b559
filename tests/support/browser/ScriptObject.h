// A script object as a page's script sees the document and its elements:
// named properties (read and written through IDispatch) and named methods.
// Enough to stand for a document, an element collection and elements:
//
//   CScriptObject* pDoc = CScriptObject::Document({{L"meta", ...}});
//   CScriptObject* pButton = pDoc->AddElement(L"ButtonCancle");
//   browser->m_pDocument = pDoc;
//   ... pButton->Click();   // calls what the host put into onclick
#pragma once

#include <oleauto.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class CScriptObject final : public IDispatch
{
public:
    typedef std::function<HRESULT(DISPPARAMS*, VARIANT*)> Method;

    CScriptObject() = default;

    // A document whose meta elements are the pairs of name and content,
    // answering getElementsByTagName("meta") and getElementById.
    static CScriptObject* Document(const std::vector<std::pair<std::wstring, std::wstring>>& metas = {})
    {
        CScriptObject* pDocument = new CScriptObject;
        CScriptObject* pMetas = new CScriptObject;
        for (const auto& meta : metas) {
            CScriptObject* pMeta = new CScriptObject;
            pMeta->SetText(L"name", meta.first);
            pMeta->SetText(L"content", meta.second);
            pMetas->m_items.push_back(pMeta);
        }
        pMetas->m_methods[L"item"] = [pMetas](DISPPARAMS* p, VARIANT* pResult) -> HRESULT {
            if (p->cArgs != 1 || V_VT(&p->rgvarg[0]) != VT_I4)
                return DISP_E_TYPEMISMATCH;
            LONG i = V_I4(&p->rgvarg[0]);
            if (i >= 0 && i < (LONG)pMetas->m_items.size())
                Answer(pResult, pMetas->m_items[i]);
            return S_OK; // nothing for a missing item, as scripts see it
        };
        pMetas->m_methods[L"length"] = [pMetas](DISPPARAMS*, VARIANT* pResult) -> HRESULT {
            V_VT(pResult) = VT_I4;
            V_I4(pResult) = pMetas->m_nLength >= 0 ? pMetas->m_nLength : (LONG)pMetas->m_items.size();
            return S_OK;
        };
        pDocument->m_pMetas = pMetas;
        pDocument->m_methods[L"getElementsByTagName"] = [pDocument](DISPPARAMS* p, VARIANT* pResult) -> HRESULT {
            if (p->cArgs != 1 || V_VT(&p->rgvarg[0]) != VT_BSTR || lstrcmpiW(V_BSTR(&p->rgvarg[0]), L"meta") != 0)
                return DISP_E_MEMBERNOTFOUND;
            Answer(pResult, pDocument->m_pMetas);
            return S_OK;
        };
        pDocument->m_methods[L"getElementById"] = [pDocument](DISPPARAMS* p, VARIANT* pResult) -> HRESULT {
            if (p->cArgs != 1 || V_VT(&p->rgvarg[0]) != VT_BSTR)
                return DISP_E_TYPEMISMATCH;
            for (CScriptObject* pElement : pDocument->m_items)
                if (pElement->Text(L"id") == V_BSTR(&p->rgvarg[0])) {
                    Answer(pResult, pElement);
                    return S_OK;
                }
            V_VT(pResult) = VT_NULL;
            return S_OK;
        };
        return pDocument;
    }

    // An element of a document made by Document(), found by its id.
    CScriptObject* AddElement(const std::wstring& strId)
    {
        CScriptObject* pElement = new CScriptObject;
        pElement->SetText(L"id", strId);
        m_items.push_back(pElement);
        return pElement;
    }
    CScriptObject* Metas() const { return m_pMetas; }

    void SetText(const std::wstring& strName, const std::wstring& strText)
    {
        VARIANT v;
        ::VariantInit(&v);
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = ::SysAllocString(strText.c_str());
        Put(strName, v);
        ::VariantClear(&v);
    }
    std::wstring Text(const std::wstring& strName) const
    {
        auto it = m_properties.find(strName);
        if (it == m_properties.end() || V_VT(&it->second) != VT_BSTR || V_BSTR(&it->second) == nullptr)
            return std::wstring();
        return V_BSTR(&it->second);
    }
    // The object a property holds (not AddRef'd), or null.
    IDispatch* Object(const std::wstring& strName) const
    {
        auto it = m_properties.find(strName);
        return it != m_properties.end() && V_VT(&it->second) == VT_DISPATCH ? V_DISPATCH(&it->second) : nullptr;
    }
    // What a click on the element does: the handler in onclick is called.
    HRESULT Click()
    {
        IDispatch* pHandler = Object(L"onclick");
        if (pHandler == nullptr)
            return S_FALSE;
        DISPPARAMS params = {nullptr, nullptr, 0, 0};
        VARIANT result;
        ::VariantInit(&result);
        HRESULT hr = pHandler->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                                      nullptr, nullptr);
        ::VariantClear(&result);
        return hr;
    }

    LONG m_nLength = -1; // what the meta collection's length answers; -1: its size

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch)
            return E_NOINTERFACE;
        *ppv = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_nRef; }
    STDMETHODIMP_(ULONG) Release() override
    {
        ULONG n = --m_nRef;
        if (n == 0)
            delete this;
        return n;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* p) override { return *p = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* pid) override
    {
        std::wstring strName = names[0];
        if (m_methods.count(strName) == 0 && m_properties.count(strName) == 0 && strName != L"onclick")
            return *pid = DISPID_UNKNOWN, DISP_E_UNKNOWNNAME;
        for (size_t i = 0; i < m_names.size(); ++i)
            if (m_names[i] == strName)
                return *pid = (DISPID)(i + 1), S_OK;
        m_names.push_back(strName);
        *pid = (DISPID)m_names.size();
        return S_OK;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD wFlags, DISPPARAMS* p, VARIANT* pResult, EXCEPINFO*,
                        UINT*) override
    {
        if (id < 1 || id > (DISPID)m_names.size())
            return DISP_E_MEMBERNOTFOUND;
        const std::wstring strName = m_names[id - 1];
        VARIANT ignored;
        if (pResult == nullptr)
            pResult = &ignored;
        ::VariantInit(pResult);
        if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (p->cArgs != 1)
                return DISP_E_BADPARAMCOUNT;
            Put(strName, p->rgvarg[0]);
            return S_OK;
        }
        auto method = m_methods.find(strName);
        if (method != m_methods.end())
            return method->second(p, pResult);
        auto property = m_properties.find(strName);
        if (property == m_properties.end())
            return DISP_E_MEMBERNOTFOUND;
        return ::VariantCopy(pResult, &property->second);
    }

private:
    ~CScriptObject()
    {
        for (auto& property : m_properties)
            ::VariantClear(&property.second);
        if (m_pMetas != nullptr)
            m_pMetas->Release();
        for (CScriptObject* p : m_items)
            p->Release();
    }
    void Put(const std::wstring& strName, const VARIANT& value)
    {
        VARIANT& slot = m_properties[strName];
        ::VariantClear(&slot);
        ::VariantCopy(&slot, const_cast<VARIANT*>(&value));
    }
    static void Answer(VARIANT* pResult, CScriptObject* pObject)
    {
        pObject->AddRef();
        V_VT(pResult) = VT_DISPATCH;
        V_DISPATCH(pResult) = pObject;
    }

    ULONG m_nRef = 1;
    std::vector<std::wstring> m_names;
    std::map<std::wstring, VARIANT> m_properties;
    std::map<std::wstring, Method> m_methods;
    CScriptObject* m_pMetas = nullptr;
    std::vector<CScriptObject*> m_items;
};
