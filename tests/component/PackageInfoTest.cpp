// PackageInfoTest.cpp: the component client against the registered reference component.
#include "packages/PackageInfo.h"
#include "tests/component/ComponentSeed.h"
#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

// True when the thread has no COM apartment left open: a fresh CoInitialize opens one.
bool ComIsUninitialized()
{
    HRESULT hr = CoInitialize(nullptr);
    if (SUCCEEDED(hr))
        CoUninitialize();
    return hr == S_OK;
}

// The component itself, as the client creates it; null when that fails.
IPackageInfo* CreateComponent()
{
    IPackageInfo* info = nullptr;
    if (CoCreateInstance(CLSID_PackageInfo, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, IID_IPackageInfo,
                         reinterpret_cast<void**>(&info)) != S_OK)
        return nullptr;
    return info;
}

std::vector<ComponentRecord> List(CPackageInfoClient& client, const char* package, bool* listed = nullptr)
{
    std::vector<ComponentRecord> records;
    bool ok = client.ListComponents(package, records);
    if (listed)
        *listed = ok;
    return records;
}

}  // namespace

// The request blocks at their published byte offsets, built by hand and passed through
// the real COM call: the component must find the query's list, the list's count and
// records, and fill the records' fields where the program reads them.
TEST(PackageInfoComponent, RequestBlocksAtThePublishedOffsets)
{
    // Pointers are 32-bit in the published layout; a 64-bit caller aligns them to 8.
    const size_t listAt = sizeof(void*) == 4 ? 4 : 8;
    const size_t recordsAt = sizeof(void*) == 4 ? 260 : 264;
    ScopedPackages packages;
    packages.Add("Offsets", "1.0");
    AddComponent("Offsets", "01", "Codec", "{11111111-2222-3333-4444-555555555555}", "1.2.3");
    AddComponent("Offsets", "02", "Filter", "{22222222-2222-3333-4444-555555555555}", "4.5");

    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    IPackageInfo* info = CreateComponent();
    ASSERT_NE(info, nullptr);

    alignas(8) BYTE list[272];
    alignas(8) BYTE query[16];
    memset(list, 0xCC, sizeof(list));
    memset(query, 0xCC, sizeof(query));
    strcpy(reinterpret_cast<char*>(list), "Offsets");
    const int32_t kind = 1;
    int32_t count = -1;
    BYTE* listAddress = list;
    memcpy(query, &kind, 4);
    memcpy(query + listAt, &listAddress, sizeof(listAddress));
    memcpy(list + 256, &count, 4);
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BYREF;
    arg.byref = query;
    ASSERT_EQ(info->ListComponents(0, &arg), S_OK);
    memcpy(&count, list + 256, 4);
    ASSERT_EQ(count, 2);

    std::vector<BYTE> records(2 * 924, 0xCC);
    BYTE* recordsAddress = records.data();
    memcpy(list + recordsAt, &recordsAddress, sizeof(recordsAddress));
    ASSERT_EQ(info->ListComponents(0, &arg), S_OK);
    auto field = [&](int record, size_t offset) { return std::string(reinterpret_cast<char*>(&records[record * 924 + offset])); };
    EXPECT_EQ(field(0, 0), "Codec");
    EXPECT_EQ(field(0, 256), "{11111111-2222-3333-4444-555555555555}");
    EXPECT_EQ(field(0, 868), "1.2.3");
    EXPECT_EQ(field(1, 0), "Filter");
    EXPECT_EQ(field(1, 868), "4.5");
    EXPECT_EQ(records[923], 0);  // the record ends with the zero-filled version field

    info->Release();
    CoUninitialize();
}

TEST(PackageInfoClient, ListsRecordsInRegistryOrder)
{
    ScopedPackages packages;
    packages.Add("Alpha", "2.0.33");
    AddComponent("Alpha", "01", "Codec", "{11111111-2222-3333-4444-555555555555}", "1.2");
    AddComponent("Alpha", "02", nullptr, "{AAAAAAAA-2222-3333-4444-555555555555}", nullptr);
    AddComponent("Alpha", "03", "", "", "");
    AddComponent("Alpha", "04", "Filter", nullptr, "3.0.1");

    CPackageInfoClient client;
    ASSERT_TRUE(client.IsCreated());
    bool listed = false;
    std::vector<ComponentRecord> r = List(client, "Alpha", &listed);
    ASSERT_TRUE(listed);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_STREQ(r[0].name, "Codec");
    EXPECT_STREQ(r[0].classId, "{11111111-2222-3333-4444-555555555555}");
    EXPECT_STREQ(r[0].version, "1.2");
    EXPECT_STREQ(r[1].name, "");
    EXPECT_STREQ(r[1].classId, "{AAAAAAAA-2222-3333-4444-555555555555}");
    EXPECT_STREQ(r[1].version, "");
    EXPECT_STREQ(r[2].name, "");
    EXPECT_STREQ(r[2].classId, "");
    EXPECT_STREQ(r[3].name, "Filter");
    EXPECT_STREQ(r[3].classId, "");
    EXPECT_STREQ(r[3].version, "3.0.1");

    // The same instance answers for the next package, and a second pass reads afresh.
    packages.Add("Beta");
    AddComponent("Beta", "a", "Only", "{B}", "9");
    r = List(client, "Beta");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_STREQ(r[0].name, "Only");
    EXPECT_EQ(List(client, "Alpha").size(), 4u);
}

TEST(PackageInfoClient, NoListForMissingEmptyOrNegativeCounts)
{
    ScopedPackages packages;
    packages.Add("NoComponents", "1.0");
    packages.Add("Empty", "1.0");
    AddComponentList("Empty");
    packages.Add("Negative", "1.0");
    AddComponent("Negative", "01", "Hidden", "{N}", "1");
    SetComponentCount("Negative", 0xFFFFFFFEu);  // -2

    CPackageInfoClient client;
    ASSERT_TRUE(client.IsCreated());
    bool listed = true;
    EXPECT_TRUE(List(client, "NoComponents", &listed).empty());  // E_NOTIMPL
    EXPECT_FALSE(listed);
    EXPECT_TRUE(List(client, "NotInstalled", &listed).empty());
    EXPECT_FALSE(listed);
    EXPECT_TRUE(List(client, "Empty", &listed).empty());
    EXPECT_TRUE(listed);
    EXPECT_TRUE(List(client, "Negative", &listed).empty());
    EXPECT_FALSE(listed);
}

TEST(PackageInfoClient, HugeCountGivesNoRecordsAndTheClientGoesOn)
{
    ScopedPackages packages;
    packages.Add("Huge", "1.0");
    AddComponent("Huge", "01", "One", "{H}", "1");
    SetComponentCount("Huge", 0x7FFFFFFFu);
    packages.Add("After", "1.0");
    AddComponent("After", "01", "Next", "{A}", "2");

    CPackageInfoClient client;
    ASSERT_TRUE(client.IsCreated());
    bool listed = true;
    std::vector<ComponentRecord> r = List(client, "Huge", &listed);
    EXPECT_FALSE(listed);
    EXPECT_TRUE(r.empty());
    r = List(client, "After", &listed);
    EXPECT_TRUE(listed);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_STREQ(r[0].name, "Next");
}

TEST(PackageInfoClient, StatedCountBoundsTheRecordsBothWays)
{
    ScopedPackages packages;
    packages.Add("Fewer", "1.0");
    AddComponent("Fewer", "01", "First", "{1}", "1");
    AddComponent("Fewer", "02", "Second", "{2}", "2");
    AddComponent("Fewer", "03", "Third", "{3}", "3");
    SetComponentCount("Fewer", 1);
    packages.Add("More", "1.0");
    AddComponent("More", "01", "Real", "{R}", "1");
    SetComponentCount("More", 3);

    CPackageInfoClient client;
    ASSERT_TRUE(client.IsCreated());
    std::vector<ComponentRecord> r = List(client, "Fewer");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_STREQ(r[0].name, "First");
    // Records the component leaves unfilled read as empty, not as leftover memory.
    r = List(client, "More");
    ASSERT_EQ(r.size(), 3u);
    EXPECT_STREQ(r[0].name, "Real");
    for (size_t i = 1; i < r.size(); ++i) {
        EXPECT_STREQ(r[i].name, "");
        EXPECT_STREQ(r[i].classId, "");
        EXPECT_STREQ(r[i].version, "");
    }
}

TEST(PackageInfoClient, UnregisteredComponentIsNotCreatedAndComStaysBalanced)
{
    ASSERT_TRUE(ComIsUninitialized());
    {
        ScopedUnregisteredComponent hidden;
        ASSERT_FALSE(hidden.Server().empty()) << "the component is not registered in the prefix";
        {
            CPackageInfoClient client;
            EXPECT_FALSE(client.IsCreated());
            std::vector<ComponentRecord> r(2);
            EXPECT_FALSE(client.ListComponents("Anything", r));
            EXPECT_TRUE(r.empty());
        }
        EXPECT_TRUE(ComIsUninitialized());
    }
    // Registered again: created, and released with its apartment.
    {
        CPackageInfoClient client;
        EXPECT_TRUE(client.IsCreated());
    }
    EXPECT_TRUE(ComIsUninitialized());
}

TEST(PackageInfoClient, LeavesTheCallersApartmentAsItFoundIt)
{
    // Already single-threaded: the client's CoInitialize answers S_FALSE and is undone.
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    {
        CPackageInfoClient client;
        EXPECT_TRUE(client.IsCreated());
    }
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);  // the caller's apartment is still open
    CoUninitialize();
    CoUninitialize();
    EXPECT_TRUE(ComIsUninitialized());

    // A multithreaded apartment refuses CoInitialize; the client must not close it.
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    {
        CPackageInfoClient client;
    }
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();
    EXPECT_TRUE(ComIsUninitialized());
}

TEST(PackageInfoComponent, AnswersItsOwnEntriesAndRefusesMalformedQueries)
{
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    IPackageInfo* info = CreateComponent();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->Method3(), E_NOTIMPL);
    EXPECT_EQ(info->Method4(), E_NOTIMPL);
    EXPECT_EQ(info->Method5(), E_NOTIMPL);
    EXPECT_EQ(info->Method6(), E_NOTIMPL);
    EXPECT_EQ(info->Method7(), E_NOTIMPL);

    ComponentList list = {};
    list.count = -1;
    ComponentQuery query = {2, &list};
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BYREF;
    arg.byref = &query;
    EXPECT_EQ(info->ListComponents(0, &arg), E_INVALIDARG);  // request kind other than 1
    query.requestKind = 1;
    arg.vt = VT_BYREF | VT_I4;
    EXPECT_EQ(info->ListComponents(0, &arg), E_INVALIDARG);
    EXPECT_EQ(info->ListComponents(0, nullptr), E_INVALIDARG);
    EXPECT_EQ(list.count, -1);

    info->Release();
    CoUninitialize();
}
