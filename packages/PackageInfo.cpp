// PackageInfo.cpp: the client of the package information component.
#include "packages/PackageInfo.h"
#include "framework/AnsiCodePage.h"

#include <new>
#include <stdint.h>
#include <string.h>

const CLSID CLSID_PackageInfo = {0x13DEF622, 0x983C, 0x4FA4, {0x91, 0xCD, 0x23, 0x8C, 0x72, 0xDE, 0x4F, 0x3F}};
const IID IID_IPackageInfo = {0x486F726E, 0x4D43, 0x49B9, {0x8A, 0x0C, 0xC2, 0x2A, 0x2B, 0x05, 0x24, 0xE8}};

CPackageInfoClient::CPackageInfoClient() : m_info(nullptr), m_hrInit(::CoInitialize(nullptr))
{
    void* object = nullptr;
    HRESULT hr = ::CoCreateInstance(CLSID_PackageInfo, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                    IID_IPackageInfo, &object);
    if (hr == S_OK && object)
        m_info = static_cast<IPackageInfo*>(object);
    else if (SUCCEEDED(hr) && object)
        static_cast<IUnknown*>(object)->Release();  // an odd success code: not ours to use, still ours to free
}

CPackageInfoClient::~CPackageInfoClient()
{
    if (m_info)
        m_info->Release();
    m_info = nullptr;
    // S_OK and S_FALSE both need their CoUninitialize; a refused CoInitialize has none.
    if (SUCCEEDED(m_hrInit))
        ::CoUninitialize();
}

namespace {

// One call of ListComponents with a fresh query and VARIANT over list.
HRESULT CallListComponents(IPackageInfo* info, ComponentList& list)
{
    ComponentQuery query;
    query.requestKind = 1;
    query.list = &list;
    VARIANT arg;
    ::VariantInit(&arg);
    arg.vt = VT_BYREF;
    arg.byref = &query;
    HRESULT hr = info->ListComponents(0, &arg);
    ::VariantClear(&arg);
    return hr;
}

// A text that fills its field to the last byte is cut before that byte, on a
// character boundary.
void TerminateField(char* field, size_t size)
{
    CopyCharPrefix(field, size, field, strnlen(field, size), AnsiLeadBytes());
}

}  // namespace

bool CPackageInfoClient::ListComponents(const char* packageName, std::vector<ComponentRecord>& records)
{
    records.clear();
    if (!m_info || !packageName)
        return false;

    ComponentList list;
    memset(&list, 0, sizeof(list));
    CopyCharPrefix(list.packageName, sizeof(list.packageName), packageName,
                   strnlen(packageName, sizeof(list.packageName)), AnsiLeadBytes());
    list.count = -1;
    list.records = nullptr;

    if (CallListComponents(m_info, list) == E_NOTIMPL)
        return false;
    int32_t count = list.count;
    if (count < 0)
        return false;
    if (count == 0)
        return true;

    // A count the records cannot be allocated for gives no list; it must not throw.
    if ((uint64_t)(uint32_t)count > (uint64_t)(SIZE_MAX / sizeof(ComponentRecord)) ||
        (size_t)count > records.max_size())
        return false;
    try {
        records.resize((size_t)count);
    } catch (const std::bad_alloc&) {
        std::vector<ComponentRecord>().swap(records);
        return false;
    }

    list.count = count;
    list.records = records.data();
    CallListComponents(m_info, list);  // the fill call's result is not looked at

    // Every text is read as zero-terminated: a component that fills a field to its
    // last byte is cut there rather than read past.
    for (ComponentRecord& r : records) {
        TerminateField(r.name, sizeof(r.name));
        TerminateField(r.classId, sizeof(r.classId));
        TerminateField(r.version, sizeof(r.version));
    }
    return true;
}
