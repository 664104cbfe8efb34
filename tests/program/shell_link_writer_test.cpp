// The shell link writer against the fake COM library: the calls, their order and arguments, the
// result, the releases and the trace, on the way that succeeds and on each way that fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_com/fake_com.h"
#include "program/trace_capture.h"
#include "shortcuts/shell_link_writer.h"

namespace {

const char kTarget[] = "C:\\Orvo\\recorder.bat";
const char kLink[] = "c:\\windows\\desktop\\Orvo Recorder.pif";
const char kDescription[] = "Orvo Recorder.pif";
const char kIcon[] = "C:\\Orvo\\vandrel.ico";

const std::string kCreate =
    "CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA)";
const std::vector<std::string> kSetters = {"IShellLinkA::SetPath(C:\\Orvo\\recorder.bat)",
                                           "IShellLinkA::SetDescription(Orvo Recorder.pif)",
                                           "IShellLinkA::SetIconLocation(C:\\Orvo\\vandrel.ico, 0)"};
const std::string kQuery = "IShellLinkA::QueryInterface(IID_IPersistFile)";
const std::string kSave = "IPersistFile::Save(c:\\windows\\desktop\\Orvo Recorder.pif, TRUE)";
const std::string kReleasePersistFile = "IPersistFile::Release";
const std::string kReleaseShellLink = "IShellLinkA::Release";

const std::string kTraceHead = " In ShortCut: File:C:\\Orvo\\recorder.bat \n"
                               " Link:c:\\windows\\desktop\\Orvo Recorder.pif \n"
                               " Name:Orvo Recorder.pif \n"
                               " Use Icon:C:\\Orvo\\vandrel.ico \n";

std::vector<std::string> Join(std::vector<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto &part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

struct ScriptCase {
    const char *label;
    FakeComScript script;
    HRESULT expected;
    std::vector<std::string> calls;
    std::string trace;
};

void PrintTo(const ScriptCase &c, std::ostream *out)
{
    *out << c.label;
}

FakeComScript Script(HRESULT create, HRESULT query, HRESULT setters, HRESULT save)
{
    FakeComScript script;
    script.coCreateInstance = create;
    script.queryInterface = query;
    script.setters = setters;
    script.save = save;
    return script;
}

class CreateShortCutTest : public ::testing::TestWithParam<ScriptCase> {
protected:
    void SetUp() override { ResetFakeCom(); }
};

TEST_P(CreateShortCutTest, MakesTheCallsInOrderReturnsTheDecidingResultAndReleasesAll)
{
    const ScriptCase &c = GetParam();
    gFakeComScript = c.script;
    HRESULT hr = S_FALSE;
    std::string trace = PrintedWithTrace(1, [&] { hr = CreateShortCut(kTarget, kLink, kDescription, kIcon); });

    EXPECT_EQ(hr, c.expected);
    EXPECT_EQ(FakeComCalls(), c.calls);
    EXPECT_EQ(FakeComOutstandingReferences(), 0);
    EXPECT_EQ(trace, kTraceHead + c.trace);
}

const HRESULT kPathNotFound = HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);

INSTANTIATE_TEST_SUITE_P(
    Scripts, CreateShortCutTest,
    ::testing::Values(
        ScriptCase{"Succeeds", Script(S_OK, S_OK, S_OK, S_OK), S_OK,
                   Join({{kCreate}, kSetters, {kQuery, kSave, kReleasePersistFile, kReleaseShellLink}}),
                   " Succeeded thru CoCreateInstance:0 \n Succeeded thru Query Interface:0 \n SAVE RETURNS:0 \n"},
        ScriptCase{"ResultIsSavesNotTheEarlierCalls", Script(S_FALSE, S_OK, S_OK, S_OK), S_OK,
                   Join({{kCreate}, kSetters, {kQuery, kSave, kReleasePersistFile, kReleaseShellLink}}),
                   " Succeeded thru CoCreateInstance:1 \n Succeeded thru Query Interface:0 \n SAVE RETURNS:0 \n"},
        ScriptCase{"CoCreateInstanceFails", Script(REGDB_E_CLASSNOTREG, S_OK, S_OK, S_OK), REGDB_E_CLASSNOTREG,
                   {kCreate}, " Failed CoCreateInstance:-2147221164 \n"},
        ScriptCase{"QueryInterfaceFails", Script(S_OK, E_NOINTERFACE, S_OK, S_OK), E_NOINTERFACE,
                   Join({{kCreate}, kSetters, {kQuery, kReleaseShellLink}}),
                   " Succeeded thru CoCreateInstance:0 \n Failed Query Interface:-2147467262 \n"},
        ScriptCase{"SaveFails", Script(S_OK, S_OK, S_OK, kPathNotFound), kPathNotFound,
                   Join({{kCreate}, kSetters, {kQuery, kSave, kReleasePersistFile, kReleaseShellLink}}),
                   " Succeeded thru CoCreateInstance:0 \n Succeeded thru Query Interface:0 \n"
                   " SAVE RETURNS:80070003 \n"},
        ScriptCase{"FailingSettersDoNotStopIt", Script(S_OK, S_OK, E_FAIL, S_OK), S_OK,
                   Join({{kCreate}, kSetters, {kQuery, kSave, kReleasePersistFile, kReleaseShellLink}}),
                   " Succeeded thru CoCreateInstance:0 \n Succeeded thru Query Interface:0 \n SAVE RETURNS:0 \n"}),
    [](const ::testing::TestParamInfo<ScriptCase> &info) { return std::string(info.param.label); });

TEST(CreateShortCutQuiet, PrintsNothingWithTraceOff)
{
    ResetFakeCom();
    EXPECT_EQ(PrintedWithTrace(0, [] { CreateShortCut(kTarget, kLink, kDescription, kIcon); }), "");
}

TEST(CreateShortCutNames, PassesTheLinkNameToSaveUnchangedAsUtf16)
{
    ResetFakeCom();
    const char link[] = "c:\\windows\\desktop\\M\xC3\xBCller Caf\xC3\xA9.pif";
    EXPECT_EQ(CreateShortCut(kTarget, link, "d.pif", kIcon), S_OK);
    const std::vector<std::string> &calls = FakeComCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(),
                        "IPersistFile::Save(c:\\windows\\desktop\\M\xC3\xBCller Caf\xC3\xA9.pif, TRUE)"),
              calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "IShellLinkA::SetDescription(d.pif)"), calls.end());
}

} // namespace
