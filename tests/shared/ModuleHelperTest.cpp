#include "ModuleHelper.h"
#include "TestModule.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

const char kCreateProc[] = "DllGetClassObject";

class CTestObjectHelper : public CModuleHelper<ITestObject>
{
public:
    explicit CTestObjectHelper(LPCSTR dll, REFGUID clsid = CLSID_TestObject, REFGUID iid = IID_ITestObject,
                               LPCSTR createProc = kCreateProc)
        : CModuleHelper<ITestObject>(clsid, iid, dll, createProc)
    {}
};

std::string ProgramFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string CurrentFolder()
{
    char path[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, path);
    return path;
}

// The test's own reference to a test library, so its counters outlive the
// holder's FreeLibrary.
class ModuleRef
{
public:
    explicit ModuleRef(const std::string& path) : m_module(LoadLibraryA(path.c_str())) {}
    ~ModuleRef()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    TestModuleCounters Counters() const
    {
        TestModuleCounters counters = {};
        auto get = reinterpret_cast<TestModuleGetCountersProc>(
            reinterpret_cast<void (*)()>(GetProcAddress(m_module, "TestModuleGetCounters")));
        if (get)
            get(&counters);
        return counters;
    }
    bool Loaded() const { return m_module != NULL; }

private:
    HMODULE m_module;
};

class ModuleHelperTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_savedFolder = CurrentFolder();
        SetCurrentDirectoryA(ProgramFolder().c_str());
    }
    void TearDown() override { SetCurrentDirectoryA(m_savedFolder.c_str()); }

    std::string m_savedFolder;
};

TEST_F(ModuleHelperTest, CreatesTheObjectAndGivesEverythingBackOnClose)
{
    CTestObjectHelper holder("tm_module.dll");
    ASSERT_TRUE(holder.CreateInstance()) << holder.GetErrorDescribe();
    ASSERT_TRUE(holder.HasInterface());
    EXPECT_EQ(holder.GetInterface()->GetValue(), 1);
    EXPECT_STREQ(holder.GetErrorDescribe(), "");
    {
        ModuleRef module("tm_module.dll");
        EXPECT_EQ(module.Counters().live, 1);
        EXPECT_TRUE(holder.CloseInstance());
        EXPECT_EQ(module.Counters().live, 0);
    }
    EXPECT_FALSE(holder.HasInterface());
    EXPECT_EQ(holder.GetInterface(), nullptr);
    EXPECT_EQ(GetModuleHandleA("tm_module.dll"), nullptr); // the library went with the object
}

TEST_F(ModuleHelperTest, CreatingAgainReleasesTheFirstObjectFirst)
{
    ModuleRef module("tm_module.dll");
    TestModuleCounters before = module.Counters();
    {
        CTestObjectHelper holder("tm_module.dll");
        ASSERT_TRUE(holder.CreateInstance());
        ASSERT_TRUE(holder.CreateInstance());
        TestModuleCounters counters = module.Counters();
        EXPECT_EQ(counters.created - before.created, 2);
        EXPECT_EQ(counters.live, 1);
        EXPECT_EQ(counters.peak, 1); // never two at once
    }
    EXPECT_EQ(module.Counters().live, 0); // the destructor closes
}

TEST_F(ModuleHelperTest, CloseOnAnEmptyHolderDoesNothing)
{
    CTestObjectHelper holder("tm_module.dll");
    EXPECT_TRUE(holder.CloseInstance());
    EXPECT_TRUE(holder.CloseInstance());
    EXPECT_FALSE(holder.HasInterface());
    EXPECT_STREQ(holder.GetErrorDescribe(), "");
}

struct FailureCase
{
    const char* name;
    const char* dll;
    const GUID* clsid;
    const GUID* iid;
    const char* createProc;
    const char* text;
    bool libraryStaysLoaded;
};

const FailureCase kFailures[] = {
    {"MissingLibrary", "tm_nosuch.dll", &CLSID_TestObject, &IID_ITestObject, kCreateProc,
     "\"tm_nosuch.dll\"加载失败，错误代码：126", false},
    {"MissingExport", "tm_noexport.dll", &CLSID_TestObject, &IID_ITestObject, kCreateProc,
     "\"tm_noexport.dll\"组件创建函数\"DllGetClassObject\"不存在，错误代码：127", true},
    {"OtherExportName", "tm_module.dll", &CLSID_TestObject, &IID_ITestObject, "CreateObject",
     "\"tm_module.dll\"组件创建函数\"CreateObject\"不存在，错误代码：127", true},
    {"FailedResult", "tm_module.dll", &CLSID_TestFailure, &IID_ITestObject, kCreateProc,
     "\"tm_module.dll\"组件创建函数\"DllGetClassObject\"创建组件失败", true},
    {"UnknownClass", "tm_module.dll", &IID_ITestObject, &IID_ITestObject, kCreateProc,
     "\"tm_module.dll\"组件创建函数\"DllGetClassObject\"创建组件失败", true},
    {"UnansweredInterface", "tm_module.dll", &CLSID_TestObject, &CLSID_TestObject, kCreateProc,
     "\"tm_module.dll\"组件创建函数\"DllGetClassObject\"创建组件失败", true},
    {"SuccessWithoutObject", "tm_module.dll", &CLSID_TestNoObject, &IID_ITestObject, kCreateProc,
     "\"tm_module.dll\"组件创建函数\"DllGetClassObject\"创建组件失败", true},
    {"ExportThrows", "tm_module.dll", &CLSID_TestThrows, &IID_ITestObject, kCreateProc,
     "\"tm_module.dll\"组件创建函数\"DllGetClassObject\"发生了异常错误", true},
};

class ModuleHelperFailure : public ModuleHelperTest, public testing::WithParamInterface<FailureCase>
{};

TEST_P(ModuleHelperFailure, LeavesTheHolderEmptyWithItsText)
{
    const FailureCase& c = GetParam();
    ModuleRef counted("tm_module.dll");
    {
        CTestObjectHelper holder(c.dll, *c.clsid, *c.iid, c.createProc);
        EXPECT_FALSE(holder.CreateInstance());
        EXPECT_FALSE(holder.HasInterface());
        EXPECT_STREQ(holder.GetErrorDescribe(), c.text);
        EXPECT_EQ(counted.Counters().live, 0); // nothing created is left alive

        // A library that loaded stays loaded until the holder is closed.
        if (c.libraryStaysLoaded && std::string(c.dll) != "tm_module.dll") {
            EXPECT_NE(GetModuleHandleA(c.dll), nullptr);
            holder.CloseInstance();
            EXPECT_EQ(GetModuleHandleA(c.dll), nullptr);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ModuleHelperFailure, testing::ValuesIn(kFailures),
                         [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST_F(ModuleHelperTest, ErrorTextsAreGbk)
{
    CTestObjectHelper holder("tm_nosuch.dll");
    EXPECT_FALSE(holder.CreateInstance());
    EXPECT_NE(strstr(holder.GetErrorDescribe(), "\xBC\xD3\xD4\xD8\xCA\xA7\xB0\xDC"), nullptr) // 加载失败
        << holder.GetErrorDescribe();
}

TEST_F(ModuleHelperTest, ErrorTextsAndNamesAreTruncated)
{
    // Export names keep 31 characters, error texts 255 without half a
    // character; a library name that does not fit is not cut (another file
    // would load) but left empty.
    std::string longProc(40, 'P');
    CTestObjectHelper noExport("tm_noexport.dll", CLSID_TestObject, IID_ITestObject, longProc.c_str());
    EXPECT_FALSE(noExport.CreateInstance());
    EXPECT_EQ(std::string(noExport.GetErrorDescribe()),
              "\"tm_noexport.dll\"组件创建函数\"" + std::string(31, 'P') + "\"不存在，错误代码：127");

    std::string longName(300, 'n');
    CTestObjectHelper missing(longName.c_str());
    EXPECT_FALSE(missing.CreateInstance());
    EXPECT_EQ(std::string(missing.GetErrorDescribe()).substr(0, 4), "\"\"\xBC\xD3"); // ""加载失败...

    // 252 single bytes and then "加" fit; the next character would straddle the end.
    CTestObjectHelper cut(std::string(250, 'n').c_str());
    EXPECT_FALSE(cut.CreateInstance());
    EXPECT_EQ(std::string(cut.GetErrorDescribe()), "\"" + std::string(250, 'n') + "\"\xBC\xD3");
}

// The dependency beside a library in a folder is found without moving the
// process-wide current folder, neither during the load nor after it.
TEST_F(ModuleHelperTest, LibraryInAFolderFindsItsDependenciesThere)
{
    std::string folder = ProgramFolder() + "modsub";
    std::string full = folder + "\\tm_module_sub.dll";
    {
        // Its dependency lies only beside it: a plain load cannot find it.
        ModuleRef plain(full);
        ASSERT_FALSE(plain.Loaded());
    }

    for (const std::string& name : {full, std::string("modsub\\tm_module_sub.dll")}) {
        SCOPED_TRACE(name);
        std::string before = CurrentFolder();
        CTestObjectHelper holder(name.c_str());
        ASSERT_TRUE(holder.CreateInstance()) << holder.GetErrorDescribe();
        EXPECT_EQ(holder.GetInterface()->GetValue(), 42);
        EXPECT_EQ(CurrentFolder(), before);

        HMODULE loaded = GetModuleHandleA(full.c_str());
        ASSERT_NE(loaded, nullptr);
        auto loadFolder = reinterpret_cast<TestModuleLoadFolderProc>(
            reinterpret_cast<void (*)()>(GetProcAddress(loaded, "TestModuleLoadFolder")));
        ASSERT_NE(loadFolder, nullptr);
        EXPECT_EQ(std::string(loadFolder()), before);
    }

    std::string before = CurrentFolder();
    CTestObjectHelper missing("modsub\\tm_nosuch.dll");
    EXPECT_FALSE(missing.CreateInstance());
    EXPECT_STREQ(missing.GetErrorDescribe(), "\"modsub\\tm_nosuch.dll\"加载失败，错误代码：126");
    EXPECT_EQ(CurrentFolder(), before);
}

} // namespace
