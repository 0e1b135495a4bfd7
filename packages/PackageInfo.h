// PackageInfo.h: the interface of the maker's package information component and the
// client that lists a package's components through it.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <stddef.h>
#include <stdint.h>
#include <vector>

// {13DEF622-983C-4FA4-91CD-238C72DE4F3F}
extern const CLSID CLSID_PackageInfo;
// {486F726E-4D43-49B9-8A0C-C22A2B0524E8}
extern const IID IID_IPackageInfo;

// One component, 924 bytes.
struct ComponentRecord {
    char name[256];       // may be empty
    char classId[256];    // braced GUID text, shown instead of an empty name
    char reserved1[256];
    char reserved2[100];
    char version[56];     // empty is shown as "Unknown"
};

struct ComponentList {
    char packageName[256];
    int32_t count;
    ComponentRecord* records;
};

struct ComponentQuery {
    int32_t requestKind;  // always 1
    ComponentList* list;
};

static_assert(sizeof(ComponentRecord) == 924, "ComponentRecord is 924 bytes");
#if !defined(_WIN64)
static_assert(offsetof(ComponentList, count) == 256, "count at 256");
static_assert(offsetof(ComponentList, records) == 260, "records at 260");
static_assert(offsetof(ComponentQuery, list) == 4, "list at 4");
#endif

// Entries 3 to 7 of the method table are the component's own and not used here;
// ListComponents is entry 8.
struct IPackageInfo : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Method3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Method4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Method5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Method6() = 0;
    virtual HRESULT STDMETHODCALLTYPE Method7() = 0;
    // reserved is always 0; query is a VARIANT of type VT_BYREF whose byref is a
    // ComponentQuery.
    virtual HRESULT STDMETHODCALLTYPE ListComponents(LONG reserved, VARIANT* query) = 0;
};

// One instance of the component for the length of an operation: CoInitialize and
// CoCreateInstance at construction; Release, then CoUninitialize at destruction (also
// after a failed creation).
class CPackageInfoClient {
public:
    CPackageInfoClient();
    ~CPackageInfoClient();
    CPackageInfoClient(const CPackageInfoClient&) = delete;
    CPackageInfoClient& operator=(const CPackageInfoClient&) = delete;

    // Only S_OK with an object counts as created.
    bool IsCreated() const { return m_info != nullptr; }

    // The two-call protocol: the count, then the records. False when the package has
    // no component list (E_NOTIMPL, a negative count) or the records cannot be had;
    // records is then empty.
    bool ListComponents(const char* packageName, std::vector<ComponentRecord>& records);

private:
    IPackageInfo* m_info;
    HRESULT m_hrInit;
};
