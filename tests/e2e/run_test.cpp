// The whole run, as a user starts it: one table of cases for both builds (the native program, and the
// Windows exe under Wine), the pauses of the trace configuration, and the fake COM library's cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/run_fixture.h"

namespace {

// Where the program is started, with what, and how the run should end.
struct RunCase {
    const char *label;
    const char *folder; // under drive_c ("" is the drive root); "outside" is a folder outside drive_c
    std::vector<std::string> arguments;
    bool removeDesktop;
    Outcome outcome;
};

void PrintTo(const RunCase &c, std::ostream *out)
{
    *out << c.label;
}

class RunCases : public RunTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(RunCases, PrintsExactlyItsLinesMakesItsFilesAndExitsZero)
{
    const RunCase &c = GetParam();
    TemporaryFolder outside("orvo-outside");
    std::string directory = std::string(c.folder) == "outside" ? outside.path() + "/Orvo Product"
                                                               : prefix->DriveC() + (*c.folder ? "/" : "") + c.folder;
    MakeDirectories(directory);
    if (c.removeDesktop) {
        RemoveTree(prefix->Desktop());
    }
    std::string windowsDirectory = prefix->WindowsPath(directory);

    ProcessResult result = Run(CommandIn(directory, c.arguments));

    Expectation expectation;
    expectation.outcome = c.outcome;
    expectation.directory = windowsDirectory;
    expectation.linkTrace = " Succeeded thru CoCreateInstance:0 \n Succeeded thru Query Interface:0 \n"
                            " SAVE RETURNS:80070003 \n";
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.output, AsPrinted(ExpectedOutput(expectation)));
    if (c.outcome == Outcome::Success) {
        ExpectBothShortcuts(windowsDirectory);
    } else {
        EXPECT_FALSE(Exists(prefix->Desktop()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunCases,
    ::testing::Values(
        RunCase{"ProductFolder", "Orvo", {}, false, Outcome::Success},
        RunCase{"FolderOutsideDriveC", "outside", {}, false, Outcome::Success},
        RunCase{"DriveRoot", "", {}, false, Outcome::Success},
        RunCase{"ArgumentsAreIgnored", "Orvo", {"--help", "/?", "-t", "a b", "", "Orvo Player.url"}, false,
                Outcome::Success},
        RunCase{"DesktopMissing", "Orvo", {}, true, Outcome::LinkFails}),
    [](const ::testing::TestParamInfo<RunCase> &info) { return std::string(info.param.label); });

TEST_F(RunTest, ASecondRunReplacesLongerEarlierShortcutsWhole)
{
    WriteFile(LinkFileOf(prefix->Desktop()), std::string(30000, 'L'));
    WriteFile(UrlFileOf(prefix->Desktop()), "[InternetShortcut]\r\nURL=file://" + std::string(5000, 'u') + "\r\n");
    for (int run = 0; run < 2; ++run) {
        ProcessResult result = Run(CommandIn(product));
        EXPECT_EQ(result.exitStatus, 0);
        ExpectBothShortcuts("C:\\Orvo");
    }
    EXPECT_LT(ReadFile(LinkFileOf(prefix->Desktop())).size(), 2000u);
}

#if ORVO_TRACE_BUILD
// The pauses of the trace configuration, as a user at the console meets them.
TEST_F(RunTest, TracePausesWaitForAVisibleKeyAndShowTheirPromptFirst)
{
    Conversation run(CommandIn(product));
    ASSERT_TRUE(run.ReadUntilEndsWith(AsPrinted(" Enter any key to proceed:"), 30000)) << run.output();
    EXPECT_EQ(run.ReadFor(300), "") << "the run went on before a key";
    run.Send("\n \n\n");
    EXPECT_EQ(run.ReadFor(500), "") << "blank lines ended the first pause";
    run.Send("k\n");

    Expectation expectation;
    expectation.directory = "C:\\Orvo";
    std::string whole = AsPrinted(ExpectedOutput(expectation));
    ASSERT_TRUE(run.ReadUntilEndsWith(AsPrinted(" \nEnter any key to proceed:"), 30000)) << run.output();
    EXPECT_EQ(run.output(), whole);
    EXPECT_EQ(run.ReadFor(300), "");
    run.Send("\n");
    EXPECT_EQ(run.ReadFor(500), "") << "a blank line ended the second pause";
    run.Send("q\n");
    ProcessResult result = run.Finish();
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.output, whole);
    ExpectBothShortcuts("C:\\Orvo");
}
#endif

TEST_F(RunTest, StandardInputClosedChangesNothing)
{
    ProcessResult result = RunToEnd(CommandIn(product), Input::Closed);
    Expectation expectation;
    expectation.directory = "C:\\Orvo";
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.output, AsPrinted(ExpectedOutput(expectation)));
    ExpectBothShortcuts("C:\\Orvo");
}

// The native program on the fake COM library, to provoke what the real one will not show. The fake
// writes each call to standard error as "<call>", into the same pipe as the program's output. These
// cases are left out of the Windows run (its command line filters FakeCom*).
class FakeComRun : public RunTest {
protected:

    // Runs with a script; splits the merged output into the program's text and the calls.
    ProcessResult RunScripted(const std::string &script, std::vector<std::string> *calls, std::string *between)
    {
        Command command = CommandIn(product);
        command.argv = {CurrentBuild().fakeCom};
        command.environment.push_back("ORVO_FAKE_COM=" + script);
        command.mergeStandardError = true;
        ProcessResult result = Run(command);
        std::string text;
        calls->clear();
        between->clear();
        for (size_t at = 0; at < result.output.size();) {
            if (result.output[at] == '<') {
                size_t end = result.output.find('>', at);
                calls->push_back(result.output.substr(at + 1, end - at - 1));
                at = end + 1;
                // What the program printed right after CoUninitialize, up to its next call.
                if (calls->back() == "CoUninitialize") {
                    *between = result.output.substr(at, result.output.find('<', at) - at);
                }
            } else {
                text += result.output[at++];
            }
        }
        result.output = text;
        return result;
    }
};

TEST_F(FakeComRun, CoInitializeFailingEndsTheRunSilentlyWithoutUninitialising)
{
    std::vector<std::string> calls;
    std::string after;
    ProcessResult result = RunScripted("CoInitialize=0x8000FFFF", &calls, &after);
    Expectation expectation;
    expectation.outcome = Outcome::CoInitializeFails;
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.output, ExpectedOutput(expectation));
    EXPECT_EQ(calls, std::vector<std::string>{"CoInitialize(NULL)"});
    EXPECT_FALSE(Exists(LinkFileOf(prefix->Desktop())) || Exists(UrlFileOf(prefix->Desktop())));
}

struct UninitialiseCase {
    const char *label;
    const char *script;
    Outcome outcome;
    const char *linkTrace;
    const char *printedNext; // what the program prints right after CoUninitialize
};

void PrintTo(const UninitialiseCase &c, std::ostream *out)
{
    *out << c.label;
}

class FakeComUninitialise : public FakeComRun, public ::testing::WithParamInterface<UninitialiseCase> {};

TEST_P(FakeComUninitialise, CoUninitializeComesOnceRightAfterTheLinkStepWhateverItsResult)
{
    const UninitialiseCase &c = GetParam();
    std::vector<std::string> calls;
    std::string after;
    ProcessResult result = RunScripted(c.script, &calls, &after);

    Expectation expectation;
    expectation.outcome = c.outcome;
    expectation.directory = "C:\\Orvo";
    expectation.linkTrace = c.linkTrace;
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.output, ExpectedOutput(expectation));
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "CoUninitialize"), 1);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), "CoUninitialize") << "a COM call came after CoUninitialize";
    EXPECT_EQ(calls.front(), "CoInitialize(NULL)");
    EXPECT_EQ(after.substr(0, strlen(c.printedNext)), c.printedNext);
    EXPECT_EQ(Exists(UrlFileOf(prefix->Desktop())), c.outcome == Outcome::Success);
}

INSTANTIATE_TEST_SUITE_P(
    FakeCom, FakeComUninitialise,
    ::testing::Values(
        UninitialiseCase{"LinkSucceeds", "Save=0", Outcome::Success, "",
                         "\n Creating Shortcut on Desktop:Orvo Player.url"},
        UninitialiseCase{"SaveFails", "Save=0x80070003", Outcome::LinkFails,
                         " Succeeded thru CoCreateInstance:0 \n Succeeded thru Query Interface:0 \n"
                         " SAVE RETURNS:80070003 \n",
                         kTraceBuild ? " Error in ShortCut " : ""},
        UninitialiseCase{"CoCreateInstanceFails", "CoCreateInstance=0x80040154", Outcome::LinkFails,
                         " Failed CoCreateInstance:-2147221164 \n", kTraceBuild ? " Error in ShortCut " : ""},
        UninitialiseCase{"QueryInterfaceFails", "QueryInterface=0x80004002", Outcome::LinkFails,
                         " Succeeded thru CoCreateInstance:0 \n Failed Query Interface:-2147467262 \n",
                         kTraceBuild ? " Error in ShortCut " : ""}),
    [](const ::testing::TestParamInfo<UninitialiseCase> &info) { return std::string(info.param.label); });

} // namespace

namespace {

// What the real shell link object under Wine reads from a link (read-link.exe, a test tool).
LinkReading ReadLinkWithWineShell(const Prefix &prefix, const std::string &windowsPath)
{
    Command command;
    command.argv = {"wine", CurrentBuild().readLink, windowsPath};
    command.environment = prefix.Environment();
    ProcessResult result = RunToEnd(command, Input::AtEnd);
    LinkReading reading;
    if (result.exitStatus != 0) {
        reading.error = "read-link failed with " + std::to_string(result.exitStatus) + ": " + result.output;
        return reading;
    }
    reading.opened = true;
    std::string text = result.output;
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        std::string line = text.substr(at, end - at);
        at = end == std::string::npos ? text.size() : end + 1;
        size_t equals = line.find('=');
        std::string key = line.substr(0, equals);
        std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
        if (key == "path") {
            reading.localPath = value;
        } else if (key == "description") {
            reading.description = value;
        } else if (key == "icon") {
            reading.iconLocation = value;
        } else if (key == "index") {
            reading.iconIndex = std::stoll(value);
        }
    }
    return reading;
}

// The two link writers, the shell's under Wine and the native layer's, for the same product folder;
// each link read by the real shell link object, by liblnk and by lnkinfo. Their bytes may differ;
// their readings must not. Runs with the Windows build only.
class CrossCheckReaders : public RunTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(CrossCheckReaders, BothWritersLinksReadTheSameThroughEveryReader)
{
    std::string directory = prefix->DriveC() + "/" + GetParam();
    MakeDirectories(directory);
    std::string windowsDirectory = prefix->WindowsPath(directory);
    std::string readings = prefix->DriveC() + "/readings";
    RemoveTree(readings);
    MakeDirectories(readings);

    const struct {
        const char *name;
        std::vector<std::string> argv;
    } writers[] = {{"windows", CommandLine(CurrentBuild().program, {})}, {"native", {ORVO_NATIVE_PROGRAM}}};
    for (const auto &writer : writers) {
        RemoveTree(prefix->Desktop());
        MakeDirectories(prefix->Desktop());
        Command command = CommandIn(directory);
        command.argv = writer.argv;
        ASSERT_EQ(Run(command).exitStatus, 0) << writer.name;
        ASSERT_TRUE(Exists(LinkFileOf(prefix->Desktop()))) << writer.name;
        WriteFile(readings + "/" + writer.name + ".pif", ReadFile(LinkFileOf(prefix->Desktop())));
    }

    LinkReading expected = LinkFor(windowsDirectory);
    for (const auto &writer : writers) {
        std::string file = readings + "/" + writer.name + ".pif";
        SCOPED_TRACE(std::string("the link written by the ") + writer.name + " build");
        EXPECT_EQ(ReadLinkWithWineShell(*prefix, "C:\\readings\\" + std::string(writer.name) + ".pif"), expected);
        EXPECT_EQ(ReadLinkWithLiblnk(file), expected);
        EXPECT_EQ(ReadLinkWithLnkinfo(file), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(CrossCheck, CrossCheckReaders, ::testing::Values("Orvo", "Program Files/Orvo Demo", ""),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                             std::string name = *info.param ? info.param : "DriveRoot";
                             name.erase(std::remove_if(name.begin(), name.end(),
                                                       [](char c) { return !isalnum(static_cast<unsigned char>(c)); }),
                                        name.end());
                             return name;
                         });

} // namespace
