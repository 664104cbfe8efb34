// The run under hostile conditions: long and unusual product folders, a desktop that is read-only,
// full or has its names taken, earlier shortcuts, and standard input closed or at its end. One table
// for both builds; each row says what it expects of the native program and of the Windows exe under
// Wine, where the two platforms differ. Nothing may crash or hang, a half-written file is never
// reported as success, an earlier shortcut is replaced whole or left as it was, and the exit status is 0.
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "e2e/run_fixture.h"

namespace {

const char kEarlierLink[] = "an earlier link, longer than the new one ....................................";
const std::string kEarlierUrl = "[InternetShortcut]\r\nURL=file://C:/earlier/" + std::string(600, 'u') + ".html\r\n";

// What a row expects of one build.
struct Expected {
    Outcome outcome;
    std::string linkTrace = "";  // the link step's trace when it fails
    std::string directory = "";  // the directory that the run reports, when not the product folder
};

class HostileRun;

struct HostileCase {
    const char *label;
    // Makes the product folder (returned, a host path) and stages the desktop; "" when the case
    // cannot be staged on this machine (the reason is in *skip).
    std::function<std::string(HostileRun &, std::string *skip)> stage;
    Input input; // standard input: HeldOpen is turned into the configuration's default
    bool removeFolder; // the product folder is removed once the run is in it
    Expected native;
    Expected windows;
    // Checks the desktop after the run.
    std::function<void(HostileRun &, const Expected &)> checkFiles;
};

void PrintTo(const HostileCase &c, std::ostream *out)
{
    *out << c.label;
}

class HostileRun : public RunTest, public ::testing::WithParamInterface<HostileCase> {
protected:
    void TearDown() override
    {
        if (mounted_) {
            umount2(prefix->Desktop().c_str(), MNT_DETACH);
        }
        chmod(prefix->Desktop().c_str(), 0755);
    }

public:
    // A product folder under drive_c whose Windows form ("C:\...") has exactly `length` characters.
    std::string FolderOfLength(size_t length)
    {
        size_t rest = length - 3; // after "C:\"
        std::string relative;
        while (rest > 0) {
            size_t part = rest > 200 ? 200 : rest;
            if (rest - part == 1) {
                --part; // no component of length 0 after the separator
            }
            relative += std::string(part, static_cast<char>('a' + relative.size() % 26));
            rest -= part;
            if (rest > 0) {
                relative += '/';
                --rest;
            }
        }
        std::string folder = prefix->DriveC() + "/" + relative;
        MakeDirectories(folder);
        EXPECT_EQ(prefix->WindowsPath(folder).size(), length);
        return folder;
    }

    // Mounts a tmpfs of `size` bytes on the desktop, visible to the program and to its wineserver.
    bool MountDesktop(const std::string &options, std::string *skip)
    {
        if (!HavePrivateMounts()) {
            *skip = "no mount namespace of the test run's own (not root, or no unshare)";
            return false;
        }
        if (mount("tmpfs", prefix->Desktop().c_str(), "tmpfs", 0, options.c_str()) != 0) {
            *skip = "mounting a tmpfs failed";
            return false;
        }
        mounted_ = true;
        return true;
    }

    void RemountDesktopReadOnly()
    {
        ASSERT_EQ(mount("tmpfs", prefix->Desktop().c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr), 0);
    }

    // Fills the 16 KiB desktop of MountSmallDesktop to leave `free` bytes (a multiple of its 4 KiB pages).
    void FillDesktop(size_t free) { WriteFile(prefix->Desktop() + "/filler", std::string(16384 - free, 'f')); }

    bool MountSmallDesktop(std::string *skip) { return MountDesktop("size=16k", skip); }

    void WriteEarlierShortcuts()
    {
        WriteFile(LinkFileOf(prefix->Desktop()), kEarlierLink);
        WriteFile(UrlFileOf(prefix->Desktop()), kEarlierUrl);
    }

    void ExpectEarlierShortcuts()
    {
        EXPECT_EQ(ReadFile(LinkFileOf(prefix->Desktop())), kEarlierLink);
        EXPECT_EQ(ReadFile(UrlFileOf(prefix->Desktop())), kEarlierUrl);
    }

    // The desktop's entries other than the filler: a half-written or temporary file shows here.
    std::vector<std::string> DesktopEntries()
    {
        std::vector<std::string> names = ListDirectory(prefix->Desktop());
        names.erase(std::remove(names.begin(), names.end(), "filler"), names.end());
        return names;
    }

    // Both shortcuts of a successful run in the directory that the run reported.
    void ExpectShortcutsOf(const std::string &windowsDirectory)
    {
        ExpectBothShortcuts(windowsDirectory);
        EXPECT_EQ(DesktopEntries(), (std::vector<std::string>{"Orvo Player.url", "Orvo Recorder.pif"}));
    }

    // The link of a run that stopped at the .url, and nothing else but `others`.
    void ExpectLinkOnly(const std::vector<std::string> &others = {})
    {
        EXPECT_EQ(ReadLinkWithLiblnk(LinkFileOf(prefix->Desktop())), LinkFor(windowsProduct));
        std::vector<std::string> expected = others;
        expected.push_back("Orvo Recorder.pif");
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(DesktopEntries(), expected);
    }

    std::string windowsProduct; // the product folder's Windows form

private:
    bool mounted_ = false;
};

const std::string kSaveTrace = " Succeeded thru CoCreateInstance:0 \n Succeeded thru Query Interface:0 \n SAVE RETURNS:";

Expected LinkFails(const char *hresult)
{
    return Expected{Outcome::LinkFails, kSaveTrace + hresult + " \n"};
}

std::string ProductFolder(HostileRun &run, std::string *)
{
    return run.product;
}

TEST_P(HostileRun, KeepsItsPromises)
{
    const HostileCase &c = GetParam();
    std::string skip;
    std::string directory = c.stage(*this, &skip);
    if (directory.empty()) {
        GTEST_SKIP() << "cannot be staged here: " << skip;
    }
    windowsProduct = prefix->WindowsPath(directory);
    const Expected &expected = CurrentBuild().kind == BuildKind::Windows ? c.windows : c.native;

    Input input = c.input == Input::HeldOpen && kTraceBuild ? Input::AtEnd : c.input;
    Command command = CommandIn(directory);
    if (c.removeFolder) {
        command.argv.insert(command.argv.begin(), {"sh", "-c", "rmdir \"$PWD\" && exec \"$@\"", "sh"});
    }
    ProcessResult result = Run(command, input);

    Expectation expectation;
    expectation.outcome = expected.outcome;
    expectation.directory = expected.directory.empty() ? windowsProduct : expected.directory;
    expectation.linkTrace = expected.linkTrace;
    EXPECT_EQ(result.signal, 0) << "the run crashed";
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.output, AsPrinted(InAnsi(ExpectedOutput(expectation))));
    c.checkFiles(*this, expected);
}

void NoShortcuts(HostileRun &run, const Expected &)
{
    EXPECT_EQ(run.DesktopEntries(), std::vector<std::string>{});
}

void BothShortcuts(HostileRun &run, const Expected &expected)
{
    run.ExpectShortcutsOf(expected.directory.empty() ? run.windowsProduct : expected.directory);
}

const Expected kStartedInWindowsFolder{Outcome::Success, "", "C:\\windows"};

void ShortcutsIfMade(HostileRun &run, const Expected &expected)
{
    if (expected.outcome == Outcome::Success) {
        BothShortcuts(run, expected);
    } else {
        NoShortcuts(run, expected);
    }
}

// Stages a desktop with only `free` bytes left, for the product folder.
std::function<std::string(HostileRun &, std::string *)> DesktopWithFreeBytes(size_t free)
{
    return [free](HostileRun &run, std::string *skip) -> std::string {
        if (!run.MountSmallDesktop(skip)) {
            return "";
        }
        run.FillDesktop(free);
        return run.product;
    };
}

// A row's expectation is the same for both builds unless it says otherwise.
HostileCase Row(const char *label, std::function<std::string(HostileRun &, std::string *)> stage, Expected both,
                std::function<void(HostileRun &, const Expected &)> check, Input input = Input::HeldOpen)
{
    return HostileCase{label, std::move(stage), input, false, both, both, std::move(check)};
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, HostileRun,
    ::testing::Values(
        // The longest folder that works: "QirPlayer.html" in it makes exactly 259 characters.
        Row("Folder244", [](HostileRun &run, std::string *) { return run.FolderOfLength(244); },
            Expected{Outcome::Success}, BothShortcuts),
        // The folder fits its buffer, the page's path in it would not: stop before anything is written.
        Row("Folder245", [](HostileRun &run, std::string *) { return run.FolderOfLength(245); },
            Expected{Outcome::DirectoryRefused}, NoShortcuts),
        Row("Folder258", [](HostileRun &run, std::string *) { return run.FolderOfLength(258); },
            Expected{Outcome::DirectoryRefused}, NoShortcuts),
        // From 259 characters on, Wine cannot start a process in the folder (with its final backslash
        // it would not fit in MAX_PATH) and starts it in C:\windows instead: the run then makes its
        // shortcuts for that folder. The native layer reports the directory, or the size it needs.
        HostileCase{"Folder259", [](HostileRun &run, std::string *) { return run.FolderOfLength(259); },
                    Input::HeldOpen, false, Expected{Outcome::DirectoryRefused}, kStartedInWindowsFolder,
                    ShortcutsIfMade},
        HostileCase{"Folder300", [](HostileRun &run, std::string *) { return run.FolderOfLength(300); },
                    Input::HeldOpen, false, Expected{Outcome::DirectoryRefused}, kStartedInWindowsFolder,
                    ShortcutsIfMade},
        // The native layer cannot read a removed folder; Wine reports it as a relative "unix". Either
        // way the run stops before it makes shortcuts to a wrong place.
        HostileCase{"FolderRemovedOnceTheRunIsInIt",
                    [](HostileRun &run, std::string *) {
                        MakeDirectories(run.prefix->DriveC() + "/Removed");
                        return run.prefix->DriveC() + "/Removed";
                    },
                    Input::HeldOpen, true, Expected{Outcome::DirectoryRefused}, Expected{Outcome::DirectoryRefused},
                    NoShortcuts},
        Row("FolderWithBlanks",
            [](HostileRun &run, std::string *) {
                MakeDirectories(run.prefix->DriveC() + "/Program Files/Orvo Demo");
                return run.prefix->DriveC() + "/Program Files/Orvo Demo";
            },
            Expected{Outcome::Success}, BothShortcuts),
        // Printed and written in the build's ANSI code page; the link's readers decode it the same.
        Row("FolderWithNonAsciiCharacters",
            [](HostileRun &run, std::string *) {
                MakeDirectories(run.prefix->DriveC() + "/M\xC3\xBCller Caf\xC3\xA9");
                return run.prefix->DriveC() + "/M\xC3\xBCller Caf\xC3\xA9";
            },
            Expected{Outcome::Success}, BothShortcuts),
        Row("DesktopReadOnlyWithEarlierShortcuts",
            [](HostileRun &run, std::string *skip) -> std::string {
                if (geteuid() != 0) {
                    run.WriteEarlierShortcuts();
                    chmod(run.prefix->Desktop().c_str(), 0555);
                    return run.product;
                }
                if (!run.MountDesktop("size=64k", skip)) {
                    return "";
                }
                run.WriteEarlierShortcuts();
                run.RemountDesktopReadOnly();
                return run.product;
            },
            LinkFails("80070005"), [](HostileRun &run, const Expected &) { run.ExpectEarlierShortcuts(); }),
        Row("LinkNameTakenByAFolder",
            [](HostileRun &run, std::string *) {
                MakeDirectories(LinkFileOf(run.prefix->Desktop()));
                return run.product;
            },
            LinkFails("80070005"),
            [](HostileRun &run, const Expected &) {
                EXPECT_TRUE(IsDirectory(LinkFileOf(run.prefix->Desktop())));
                EXPECT_EQ(run.DesktopEntries(), std::vector<std::string>{"Orvo Recorder.pif"});
            }),
        Row("UrlNameTakenByAFolder",
            [](HostileRun &run, std::string *) {
                MakeDirectories(UrlFileOf(run.prefix->Desktop()));
                return run.product;
            },
            Expected{Outcome::WebOpenFails},
            [](HostileRun &run, const Expected &) {
                EXPECT_TRUE(IsDirectory(UrlFileOf(run.prefix->Desktop())));
                run.ExpectLinkOnly({"Orvo Player.url"});
            }),
        // The disk fills once the .url is open: the failure is reported and nothing with content is
        // left at its name. (Wine's DeleteFileA cannot remove a symbolic link to a device, so under
        // Wine the link to /dev/full itself stays.)
        HostileCase{"UrlNameLinksToDevFull",
                    [](HostileRun &run, std::string *) {
                        EXPECT_EQ(symlink("/dev/full", UrlFileOf(run.prefix->Desktop()).c_str()), 0);
                        return run.product;
                    },
                    Input::HeldOpen, false, Expected{Outcome::WebWriteFails}, Expected{Outcome::WebWriteFails},
                    [](HostileRun &run, const Expected &) {
                        struct stat info;
                        bool present = lstat(UrlFileOf(run.prefix->Desktop()).c_str(), &info) == 0;
                        if (CurrentBuild().kind == BuildKind::Windows && present) {
                            EXPECT_TRUE(S_ISLNK(info.st_mode));
                            run.ExpectLinkOnly({"Orvo Player.url"});
                        } else {
                            run.ExpectLinkOnly();
                        }
                    }},
        Row("FileSystemFull", DesktopWithFreeBytes(0), LinkFails("80070070"), NoShortcuts),
        // Room for the link and none for the .url.
        Row("FileSystemFullAfterTheLink", DesktopWithFreeBytes(4096), Expected{Outcome::WebWriteFails},
            [](HostileRun &run, const Expected &) { run.ExpectLinkOnly(); }),
        // Earlier shortcuts on a full disk: the native layer writes the new link beside the old one and
        // cannot, so both earlier files stay as they were; Wine's Save rewrites the earlier link in
        // place, which frees its room, and the .url likewise: both are replaced whole.
        HostileCase{"FileSystemFullWithEarlierShortcuts",
                    [](HostileRun &run, std::string *skip) -> std::string {
                        if (!run.MountSmallDesktop(skip)) {
                            return "";
                        }
                        run.WriteEarlierShortcuts(); // two of the four pages
                        run.FillDesktop(8192);
                        return run.product;
                    },
                    Input::HeldOpen, false, LinkFails("80070070"), Expected{Outcome::Success},
                    [](HostileRun &run, const Expected &expected) {
                        if (expected.outcome == Outcome::Success) {
                            BothShortcuts(run, expected);
                        } else {
                            run.ExpectEarlierShortcuts();
                        }
                    }},
        Row("EarlierLongerShortcutsAreReplacedWhole",
            [](HostileRun &run, std::string *) {
                run.WriteEarlierShortcuts();
                return run.product;
            },
            Expected{Outcome::Success}, BothShortcuts),
        Row("StandardInputClosed", ProductFolder, Expected{Outcome::Success}, BothShortcuts, Input::Closed),
        Row("StandardInputAtItsEnd", ProductFolder, Expected{Outcome::Success}, BothShortcuts, Input::AtEnd)),
    [](const ::testing::TestParamInfo<HostileCase> &info) { return std::string(info.param.label); });

} // namespace
