// Wine's drive mapping as the layer reads it: dosdevices entries, the defaults, the longest prefix,
// and the current directory reported through it.
#include <gtest/gtest.h>

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "drive_mapping.h"
#include "platform/platform.h"
#include "support/files.h"

namespace {

std::string Backslashed(std::string path)
{
    for (char &c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

// A prefix with drive_c, a product folder in it, and a folder outside it that a dosdevices entry names.
class DriveMappingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char resolved[PATH_MAX];
        ASSERT_NE(realpath(root_.path().c_str(), resolved), nullptr);
        root = resolved;
        prefix = root + "/prefix";
        MakeDirectories(prefix + "/drive_c/Orvo");
        MakeDirectories(root + "/data/sub");
        setenv("WINEPREFIX", prefix.c_str(), 1);
    }
    void TearDown() override { unsetenv("WINEPREFIX"); }

    void AddDrive(const char *entry, const std::string &target)
    {
        MakeDirectories(prefix + "/dosdevices");
        ASSERT_EQ(symlink(target.c_str(), (prefix + "/dosdevices/" + entry).c_str()), 0);
    }

    std::string ToHost(const std::string &windowsPath)
    {
        char host[PATH_MAX];
        return WindowsPathToHost(windowsPath.c_str(), host, sizeof host) == 0 ? host : "(none)";
    }

    std::string ToWindows(const std::string &hostPath)
    {
        char windows[PATH_MAX];
        return HostPathToWindows(hostPath.c_str(), windows, sizeof windows) == 0 ? windows : "(none)";
    }

    TemporaryFolder root_;
    std::string root;
    std::string prefix;
};

TEST_F(DriveMappingTest, WithoutDosdevicesCIsDriveCAndZIsTheRoot)
{
    EXPECT_EQ(ToHost("c:\\windows\\desktop\\Orvo Player.url"), prefix + "/drive_c/windows/desktop/Orvo Player.url");
    EXPECT_EQ(ToHost("C:\\Orvo"), prefix + "/drive_c/Orvo");
    EXPECT_EQ(ToHost("C:\\"), prefix + "/drive_c/");
    EXPECT_EQ(ToHost("C:"), prefix + "/drive_c/");
    EXPECT_EQ(ToHost("Z:\\tmp\\x"), "/tmp/x");
    EXPECT_EQ(ToHost("z:\\"), "/");
    EXPECT_EQ(ToHost("D:\\x"), "(none)");
    EXPECT_EQ(ToHost("relative\\x"), "(none)");
    EXPECT_EQ(ToHost("C:relative"), "(none)");
    EXPECT_EQ(ToHost(""), "(none)");
}

TEST_F(DriveMappingTest, ComponentsAreUsedAsWritten)
{
    EXPECT_EQ(ToHost("C:\\Windows\\DESKTOP"), prefix + "/drive_c/Windows/DESKTOP");
    EXPECT_EQ(ToHost("C:\\M\xC3\xBCller Caf\xC3\xA9\\a b"), prefix + "/drive_c/M\xC3\xBCller Caf\xC3\xA9/a b");
}

TEST_F(DriveMappingTest, DosdevicesEntriesNameTheDrives)
{
    AddDrive("d:", root + "/data");
    AddDrive("c:", root + "/data/sub"); // an entry for c: replaces the default
    EXPECT_EQ(ToHost("D:\\sub\\f.txt"), root + "/data/sub/f.txt");
    EXPECT_EQ(ToHost("d:\\sub"), root + "/data/sub");
    EXPECT_EQ(ToHost("C:\\f.txt"), root + "/data/sub/f.txt");
    EXPECT_EQ(ToHost("Z:\\tmp"), "/tmp") << "z: keeps its default without an entry";
}

TEST_F(DriveMappingTest, ADanglingEntryIsNoDrive)
{
    AddDrive("c:", root + "/missing");
    EXPECT_EQ(ToHost("C:\\x"), "(none)");
}

TEST_F(DriveMappingTest, HostPathsTakeTheDriveWithTheLongestPrefix)
{
    AddDrive("c:", "../drive_c");
    AddDrive("z:", "/");
    AddDrive("e:", root + "/data/sub");
    const struct {
        std::string host;
        std::string windows;
    } cases[] = {
        {prefix + "/drive_c/Orvo", "C:\\Orvo"},
        {prefix + "/drive_c", "C:\\"},
        {root + "/data", "Z:" + Backslashed(root + "/data")},
        {root + "/data/sub", "E:\\"},
        {root + "/data/sub/deeper", "E:\\deeper"},
        {prefix + "/drive_c_other", "Z:" + Backslashed(prefix + "/drive_c_other")},
        {"/", "Z:\\"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ToWindows(c.host), c.windows) << c.host;
    }
}

TEST_F(DriveMappingTest, WinePrefixDefaultsToDotWineInHome)
{
    std::string home = root + "/home";
    MakeDirectories(home + "/.wine/drive_c/x");
    unsetenv("WINEPREFIX");
    const char *savedHome = getenv("HOME");
    std::string saved = savedHome != nullptr ? savedHome : "";
    setenv("HOME", home.c_str(), 1);
    EXPECT_EQ(ToHost("C:\\x"), home + "/.wine/drive_c/x");
    EXPECT_EQ(ToWindows(home + "/.wine/drive_c/x"), "C:\\x");
    setenv("HOME", saved.c_str(), 1);
}

// GetCurrentDirectoryA with the Windows contract, run in a product folder of the prefix.
class CurrentDirectoryTest : public DriveMappingTest {
protected:
    void SetUp() override
    {
        DriveMappingTest::SetUp();
        ASSERT_NE(getcwd(saved_, sizeof saved_), nullptr);
    }
    void TearDown() override
    {
        ASSERT_EQ(chdir(saved_), 0);
        DriveMappingTest::TearDown();
    }
    char saved_[PATH_MAX];
};

TEST_F(CurrentDirectoryTest, ReturnsTheLengthAndFillsTheBuffer)
{
    ASSERT_EQ(chdir((prefix + "/drive_c/Orvo").c_str()), 0);
    char buffer[MAX_PATH];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetCurrentDirectoryA(MAX_PATH, buffer), 7u);
    EXPECT_STREQ(buffer, "C:\\Orvo");
}

TEST_F(CurrentDirectoryTest, AtADriveRootEndsInABackslash)
{
    ASSERT_EQ(chdir((prefix + "/drive_c").c_str()), 0);
    char buffer[MAX_PATH] = {0};
    EXPECT_EQ(GetCurrentDirectoryA(MAX_PATH, buffer), 3u);
    EXPECT_STREQ(buffer, "C:\\");
}

TEST_F(CurrentDirectoryTest, ABufferTooSmallGetsTheSizeNeededAndIsLeftAsItWas)
{
    ASSERT_EQ(chdir((prefix + "/drive_c/Orvo").c_str()), 0);
    char buffer[16];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetCurrentDirectoryA(7, buffer), 8u) << "\"C:\\Orvo\" and its terminator";
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(16, 'x'));
    EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), 8u);
    EXPECT_EQ(GetCurrentDirectoryA(8, buffer), 7u);
    EXPECT_STREQ(buffer, "C:\\Orvo");
}

TEST_F(CurrentDirectoryTest, AFolderThatIsGoneGivesZero)
{
    std::string gone = root + "/gone";
    MakeDirectories(gone);
    ASSERT_EQ(chdir(gone.c_str()), 0);
    ASSERT_EQ(rmdir(gone.c_str()), 0);
    char buffer[MAX_PATH];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetCurrentDirectoryA(MAX_PATH, buffer), 0u);
    EXPECT_EQ(buffer[0], 'x');
}

} // namespace
