// The layer's COM library and shell link object: what CoCreateInstance hands out, and link files that
// liblnk and lnkinfo read back with the fields that were set.
#include <gtest/gtest.h>

#include <limits.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/files.h"
#include "support/link_reader.h"

namespace {

TEST(ComLibrary, KnowsOnlyTheShellLinkAndOnlyWhileInitialised)
{
    void *object = reinterpret_cast<void *>(1);
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, &object),
              CO_E_NOTINITIALIZED);
    EXPECT_EQ(object, nullptr);

    EXPECT_EQ(CoInitialize(NULL), S_OK);
    EXPECT_EQ(CoInitialize(NULL), S_FALSE);
    EXPECT_EQ(CoCreateInstance(IID_IPersistFile, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, &object),
              REGDB_E_CLASSNOTREG);

    IShellLinkA *link = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               reinterpret_cast<void **>(&link)),
              S_OK);
    IPersistFile *file = nullptr;
    void *other = reinterpret_cast<void *>(1);
    EXPECT_EQ(link->QueryInterface(CLSID_ShellLink, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)), S_OK);
    EXPECT_EQ(file->Release(), 1u);
    EXPECT_EQ(link->Release(), 0u);

    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, &object),
              CO_E_NOTINITIALIZED);
}

// A prefix with a desktop folder; COM initialised while each test runs.
class ShellLinkObjectTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CoInitialize(NULL), S_OK); }
    void TearDown() override { CoUninitialize(); }

    // Sets the three properties and saves to linkPath (a Windows path); returns Save's result.
    HRESULT SaveLink(const std::string &target, const std::string &description, const std::string &icon,
                     const std::string &linkPath)
    {
        IShellLinkA *link = nullptr;
        IPersistFile *file = nullptr;
        HRESULT hr = CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                      reinterpret_cast<void **>(&link));
        if (FAILED(hr)) {
            return hr;
        }
        link->SetPath(target.c_str());
        link->SetDescription(description.c_str());
        link->SetIconLocation(icon.c_str(), 0);
        hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file));
        if (SUCCEEDED(hr)) {
            WCHAR wide[MAX_PATH] = {0};
            MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
            hr = file->Save(wide, TRUE);
            file->Release();
        }
        link->Release();
        return hr;
    }

    // Names in the desktop folder other than the given one: a temporary file left behind shows here.
    std::vector<std::string> OtherEntries(const std::string &keep)
    {
        std::vector<std::string> names = ListDirectory(desktop);
        names.erase(std::remove(names.begin(), names.end(), keep), names.end());
        return names;
    }

    DesktopPrefix prefix_;
    const std::string desktop = prefix_.desktop();
};

struct LinkCase {
    const char *label;
    std::string target;
    std::string description;
    std::string icon;
    std::string readTarget; // what a reader finds as the target
};

void PrintTo(const LinkCase &c, std::ostream *out)
{
    *out << c.label;
}

class ShellLinkReadBack : public ShellLinkObjectTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(ShellLinkReadBack, LiblnkAndLnkinfoReadTheFieldsThatWereSet)
{
    const LinkCase &c = GetParam();
    ASSERT_EQ(SaveLink(c.target, c.description, c.icon, "c:\\windows\\desktop\\Orvo Recorder.pif"), S_OK);

    LinkReading expected;
    expected.opened = true;
    expected.localPath = c.readTarget;
    expected.description = c.description;
    expected.iconLocation = c.icon;
    expected.iconIndex = 0;
    std::string file = desktop + "/Orvo Recorder.pif";
    EXPECT_EQ(ReadLinkWithLiblnk(file), expected);
    EXPECT_EQ(ReadLinkWithLnkinfo(file), expected);
    EXPECT_EQ(OtherEntries("Orvo Recorder.pif"), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Links, ShellLinkReadBack,
    ::testing::Values(
        LinkCase{"ProductFolder", "C:\\Orvo\\recorder.bat", "Orvo Recorder.pif", "C:\\Orvo\\vandrel.ico",
                 "C:\\Orvo\\recorder.bat"},
        LinkCase{"Blanks", "C:\\Program Files\\Orvo Demo\\recorder.bat", "Orvo Recorder.pif",
                 "C:\\Program Files\\Orvo Demo\\vandrel.ico", "C:\\Program Files\\Orvo Demo\\recorder.bat"},
        LinkCase{"NonAsciiFolder", "Z:\\tmp\\M\xC3\xBCller Caf\xC3\xA9\\recorder.bat", "Orvo Recorder.pif",
                 "Z:\\tmp\\M\xC3\xBCller Caf\xC3\xA9\\vandrel.ico", "Z:\\tmp\\M\xC3\xBCller Caf\xC3\xA9\\recorder.bat"},
        LinkCase{"DriveRootDoubledBackslashIsStoredOnce", "C:\\\\recorder.bat", "Orvo Recorder.pif",
                 "C:\\\\vandrel.ico", "C:\\recorder.bat"},
        LinkCase{"DeepAndLong", "C:\\" + std::string(120, 'a') + "\\" + std::string(120, 'b') + "\\r.bat",
                 std::string(1000, 'd'), "C:\\" + std::string(240, 'i') + ".ico",
                 "C:\\" + std::string(120, 'a') + "\\" + std::string(120, 'b') + "\\r.bat"}),
    [](const ::testing::TestParamInfo<LinkCase> &info) { return std::string(info.param.label); });

TEST_F(ShellLinkObjectTest, ASecondSaveReplacesALongerEarlierFileWhole)
{
    std::string file = desktop + "/Orvo Recorder.pif";
    WriteFile(file, std::string(20000, 'x'));
    ASSERT_EQ(SaveLink("C:\\Orvo\\recorder.bat", "Orvo Recorder.pif", "C:\\Orvo\\vandrel.ico",
                       "c:\\windows\\desktop\\Orvo Recorder.pif"),
              S_OK);
    std::string first = ReadFile(file);
    EXPECT_LT(first.size(), 1000u);
    EXPECT_TRUE(ReadLinkWithLiblnk(file).opened);
    ASSERT_EQ(SaveLink("C:\\Orvo\\recorder.bat", "Orvo Recorder.pif", "C:\\Orvo\\vandrel.ico",
                       "c:\\windows\\desktop\\Orvo Recorder.pif"),
              S_OK);
    EXPECT_EQ(ReadFile(file), first);
}

struct SaveFailureCase {
    const char *label;
    std::string linkPath;
    HRESULT expected;
};

void PrintTo(const SaveFailureCase &c, std::ostream *out)
{
    *out << c.label;
}

class ShellLinkSaveFailure : public ShellLinkObjectTest, public ::testing::WithParamInterface<SaveFailureCase> {};

TEST_P(ShellLinkSaveFailure, FailsAsWindowsDoesAndLeavesNoFileBehind)
{
    MakeDirectories(desktop + "/Taken.pif");
    EXPECT_EQ(SaveLink("C:\\Orvo\\recorder.bat", "d", "C:\\Orvo\\vandrel.ico", GetParam().linkPath),
              GetParam().expected);
    EXPECT_EQ(OtherEntries("Taken.pif"), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShellLinkSaveFailure,
    ::testing::Values(
        SaveFailureCase{"MissingFolder", "c:\\windows\\missing\\x.pif", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
        SaveFailureCase{"MissingDrive", "q:\\x.pif", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
        SaveFailureCase{"NameTakenByAFolder", "c:\\windows\\desktop\\Taken.pif",
                        HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)}),
    [](const ::testing::TestParamInfo<SaveFailureCase> &info) { return std::string(info.param.label); });

} // namespace
