// PackageInfoServer.cpp: the reference package information component, an in-process
// COM server that lists a package's components from the registry.
//
// A package's components are the subkeys of
// HKLM\SOFTWARE\Norvane\Packages\<package>\Components, in enumeration order, each with
// the REG_SZ values Name, ClassId and Version. A package without a Components key has
// no component list (E_NOTIMPL). A DWORD value Count on the Components key replaces
// the count that is reported; the fill call still writes no more records than there
// are subkeys, nor more than the caller's count.
#include "packages/PackageInfo.h"

#include <olectl.h>
#include <new>
#include <stdint.h>
#include <string.h>

namespace {

const char kPackagesPath[] = "SOFTWARE\\Norvane\\Packages";
const char kComponentsKey[] = "Components";
const char kClsidKey[] = "CLSID\\{13DEF622-983C-4FA4-91CD-238C72DE4F3F}";
const char kInprocKey[] = "CLSID\\{13DEF622-983C-4FA4-91CD-238C72DE4F3F}\\InprocServer32";

// The request blocks. A query is the request kind (int32) and a pointer to the list; a
// list is the package name (256 bytes), the count (int32) and a pointer to the caller's
// records. Pointers are 32-bit in the published layout (list at 4, records at 260); a
// 64-bit caller aligns them to 8 bytes.
const size_t kQueryKindOffset = 0;
const size_t kQueryListOffset = sizeof(void*);
const size_t kListNameOffset = 0;
const size_t kListNameSize = 256;
const size_t kListCountOffset = 256;
const size_t kListRecordsOffset = 256 + sizeof(void*);
// One component record, 924 bytes.
const size_t kRecordSize = 924;
const size_t kRecordNameOffset = 0;
const size_t kRecordNameSize = 256;
const size_t kRecordClassIdOffset = 256;
const size_t kRecordClassIdSize = 256;
const size_t kRecordVersionOffset = 868;
const size_t kRecordVersionSize = 56;

HMODULE g_module = nullptr;
LONG g_objects = 0;
LONG g_locks = 0;

class CKey {
public:
    CKey() : m_h(nullptr) {}
    ~CKey()
    {
        if (m_h)
            RegCloseKey(m_h);
    }
    CKey(const CKey&) = delete;
    CKey& operator=(const CKey&) = delete;
    bool Open(HKEY parent, const char* path)
    {
        if (RegOpenKeyExA(parent, path, 0, KEY_READ, &m_h) == ERROR_SUCCESS)
            return true;
        m_h = nullptr;
        return false;
    }
    operator HKEY() const { return m_h; }

private:
    HKEY m_h;
};

// A REG_SZ value into a zero-filled field; what does not fit is cut.
void ReadField(HKEY key, const char* value, char* field, DWORD size)
{
    memset(field, 0, size);
    DWORD needed = 0;
    DWORD type = 0;
    if (RegQueryValueExA(key, value, nullptr, &type, nullptr, &needed) != ERROR_SUCCESS || needed == 0)
        return;
    char* data = static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, needed + 1));
    if (!data)
        return;
    DWORD got = needed;
    if (RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(data), &got) == ERROR_SUCCESS) {
        size_t n = strnlen(data, got);
        if (n > size - 1)
            n = size - 1;
        memcpy(field, data, n);
    }
    HeapFree(GetProcessHeap(), 0, data);
}

// The Components key of the named package, read-only. Opened one level at a
// time: a full path to a package of 254 characters is too long for the ANSI functions.
bool OpenComponents(const char* packageName, CKey& key)
{
    char name[kListNameSize];
    size_t n = strnlen(packageName, kListNameSize - 1);
    memcpy(name, packageName, n);
    name[n] = '\0';
    if (n == 0)
        return false;
    CKey packages;
    CKey package;
    return packages.Open(HKEY_LOCAL_MACHINE, kPackagesPath) && package.Open(packages, name) &&
           key.Open(package, kComponentsKey);
}

DWORD SubkeyCount(HKEY key)
{
    DWORD count = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    return count;
}

class CPackageInfo : public IPackageInfo {
public:
    CPackageInfo() : m_refs(1) { InterlockedIncrement(&g_objects); }
    virtual ~CPackageInfo() { InterlockedDecrement(&g_objects); }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPackageInfo)) {
            *ppv = static_cast<IPackageInfo*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return (ULONG)refs;
    }

    STDMETHODIMP Method3() override { return E_NOTIMPL; }
    STDMETHODIMP Method4() override { return E_NOTIMPL; }
    STDMETHODIMP Method5() override { return E_NOTIMPL; }
    STDMETHODIMP Method6() override { return E_NOTIMPL; }
    STDMETHODIMP Method7() override { return E_NOTIMPL; }

    // The request blocks are read and written by their published byte offsets, not
    // through the caller's declarations, so a caller whose layout drifts finds out.
    STDMETHODIMP ListComponents(LONG, VARIANT* arg) override
    {
        if (!arg || arg->vt != VT_BYREF || !arg->byref)
            return E_INVALIDARG;
        const BYTE* query = static_cast<const BYTE*>(arg->byref);
        int32_t requestKind;
        BYTE* list;
        memcpy(&requestKind, query + kQueryKindOffset, sizeof(requestKind));
        memcpy(&list, query + kQueryListOffset, sizeof(list));
        if (requestKind != 1 || !list)
            return E_INVALIDARG;
        int32_t count;
        BYTE* records;
        memcpy(&count, list + kListCountOffset, sizeof(count));

        CKey components;
        if (!OpenComponents(reinterpret_cast<const char*>(list + kListNameOffset), components))
            return E_NOTIMPL;
        DWORD have = SubkeyCount(components);

        if (count < 0) {
            DWORD reported = have;
            DWORD type = 0;
            DWORD size = sizeof(reported);
            DWORD stated = 0;
            if (RegQueryValueExA(components, "Count", nullptr, &type, reinterpret_cast<BYTE*>(&stated), &size) ==
                    ERROR_SUCCESS &&
                type == REG_DWORD && size == sizeof(stated))
                reported = stated;
            count = (int32_t)reported;
            memcpy(list + kListCountOffset, &count, sizeof(count));
            return S_OK;
        }

        memcpy(&records, list + kListRecordsOffset, sizeof(records));
        if (count > 0 && !records)
            return E_POINTER;
        DWORD fill = (DWORD)count < have ? (DWORD)count : have;
        for (DWORD i = 0; i < fill; ++i) {
            BYTE* record = records + (size_t)i * kRecordSize;
            memset(record, 0, kRecordSize);
            char sub[256];
            if (RegEnumKeyA(components, i, sub, sizeof(sub)) != ERROR_SUCCESS)
                break;
            CKey key;
            if (!key.Open(components, sub))
                continue;
            ReadField(key, "Name", reinterpret_cast<char*>(record + kRecordNameOffset), kRecordNameSize);
            ReadField(key, "ClassId", reinterpret_cast<char*>(record + kRecordClassIdOffset), kRecordClassIdSize);
            ReadField(key, "Version", reinterpret_cast<char*>(record + kRecordVersionOffset), kRecordVersionSize);
        }
        return S_OK;
    }

private:
    LONG m_refs;
};

class CClassFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // The one factory lives as long as the module.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        CPackageInfo* object = new (std::nothrow) CPackageInfo;
        if (!object)
            return E_OUTOFMEMORY;
        HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        if (lock)
            InterlockedIncrement(&g_locks);
        else
            InterlockedDecrement(&g_locks);
        return S_OK;
    }
};

CClassFactory g_factory;

LONG SetKeyText(const char* path, const char* name, const char* text)
{
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExA(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS)
        return rc;
    rc = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), (DWORD)strlen(text) + 1);
    RegCloseKey(key);
    return rc;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_PackageInfo))
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, ppv);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return (g_objects == 0 && g_locks == 0) ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(g_module, path, sizeof(path));
    if (n == 0 || n >= sizeof(path))
        return SELFREG_E_CLASS;
    if (SetKeyText(kClsidKey, nullptr, "Norvane package information") != ERROR_SUCCESS ||
        SetKeyText(kInprocKey, nullptr, path) != ERROR_SUCCESS ||
        SetKeyText(kInprocKey, "ThreadingModel", "Apartment") != ERROR_SUCCESS)
        return SELFREG_E_CLASS;
    return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    LONG rc = RegDeleteTreeA(HKEY_CLASSES_ROOT, kClsidKey);
    return (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) ? S_OK : SELFREG_E_CLASS;
}
