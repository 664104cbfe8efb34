// Path composition: the composed paths, the drive root, the buffer's limit and the trace lines.
#include <gtest/gtest.h>

#include <string>

#include "setup/combine_path.h"
#include "program/trace_capture.h"

namespace {

// A PathBuffer with guard bytes on both sides, to see a write outside it.
struct GuardedBuffer {
    char before[16];
    PathBuffer buffer;
    char after[16];
};

struct CombineCase {
    const char *label;
    std::string directory;
    std::string name;
    std::string expected;
};

void PrintTo(const CombineCase &c, std::ostream *out)
{
    *out << c.label;
}

std::string Repeat(char c, size_t count)
{
    return std::string(count, c);
}

class CombinePathTest : public ::testing::TestWithParam<CombineCase> {};

TEST_P(CombinePathTest, WritesDirectoryBackslashNameWithinTheBuffer)
{
    const CombineCase &c = GetParam();
    GuardedBuffer guarded;
    memset(&guarded, 'G', sizeof guarded);

    EXPECT_EQ(CombinePath(guarded.buffer, c.directory.c_str(), c.name.c_str()), 0);

    const void *terminator = memchr(guarded.buffer, '\0', MAX_PATH);
    ASSERT_NE(terminator, nullptr) << "the result is not terminated within the buffer";
    EXPECT_EQ(std::string(guarded.buffer), c.expected);
    EXPECT_EQ(std::string(guarded.before, 16), Repeat('G', 16));
    EXPECT_EQ(std::string(guarded.after, 16), Repeat('G', 16));
}

// A directory of 244 characters and "QirPlayer.html" make exactly 259: the longest path that fits.
const std::string kDirectory244 = "C:\\" + Repeat('d', 241);

INSTANTIATE_TEST_SUITE_P(
    Cases, CombinePathTest,
    ::testing::Values(
        CombineCase{"ProductFolder", "C:\\Orvo", "recorder.bat", "C:\\Orvo\\recorder.bat"},
        CombineCase{"Desktop", "c:\\windows\\desktop", "Orvo Recorder.pif", "c:\\windows\\desktop\\Orvo Recorder.pif"},
        CombineCase{"DriveRootKeepsBothBackslashes", "C:\\", "recorder.bat", "C:\\\\recorder.bat"},
        CombineCase{"EmptyName", "C:\\Orvo", "", "C:\\Orvo\\"},
        CombineCase{"NonAscii", "Z:\\tmp\\M\xC3\xBCller Caf\xC3\xA9", "vandrel.ico",
                    "Z:\\tmp\\M\xC3\xBCller Caf\xC3\xA9\\vandrel.ico"},
        CombineCase{"ExactlyFits", kDirectory244, "QirPlayer.html", kDirectory244 + "\\QirPlayer.html"},
        CombineCase{"NameCutAtTheLimit", kDirectory244 + "d", "QirPlayer.html",
                    (kDirectory244 + "d\\QirPlayer.html").substr(0, 259)},
        CombineCase{"NoRoomForTheBackslash", "C:\\" + Repeat('d', 256), "recorder.bat", "C:\\" + Repeat('d', 256)},
        CombineCase{"DirectoryLongerThanTheBuffer", "C:\\" + Repeat('d', 400), "recorder.bat",
                    ("C:\\" + Repeat('d', 400)).substr(0, 259)}),
    [](const ::testing::TestParamInfo<CombineCase> &info) { return std::string(info.param.label); });

TEST(CombinePathTrace, PrintsTheInputsThenTheTotal)
{
    PathBuffer result = {0};
    std::string output = PrintedWithTrace(1, [&] { CombinePath(result, "C:\\Orvo", "recorder.bat"); });
    EXPECT_EQ(output, " Combine:C:\\Orvo recorder.bat \n TOTAL:C:\\Orvo\\recorder.bat \n");
}

} // namespace
