// The Internet shortcut writer: the bytes on disk, replacing an earlier file, and the failures.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "program/trace_capture.h"
#include "shortcuts/web_shortcut_writer.h"
#include "support/files.h"

namespace {

const char kWebPath[] = "c:\\windows\\desktop\\Orvo Player.url";

// A prefix whose drive c: holds the desktop folder; WINEPREFIX points at it while the test runs.
class WebShortCutTest : public ::testing::Test {
protected:
    std::string UrlFile() const { return desktop_ + "/Orvo Player.url"; }

    // Runs the writer with trace on and returns what it printed.
    std::string WriteTraced(const char *webPath, PathBuffer &page, int *result)
    {
        return PrintedWithTrace(1, [&] { *result = CreateWebShortCut(webPath, page); });
    }

    DesktopPrefix prefix_;
    const std::string desktop_ = prefix_.desktop();
};

struct PageCase {
    const char *label;
    const char *pagePath;
    const char *url;
};

void PrintTo(const PageCase &c, std::ostream *out)
{
    *out << c.label;
}

class WebShortCutBytes : public WebShortCutTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(WebShortCutBytes, HoldsTheSectionCrLfAndTheUrlWithNoFinalLineEnd)
{
    const PageCase &c = GetParam();
    PathBuffer page = {0};
    strcpy(page, c.pagePath);

    ASSERT_EQ(CreateWebShortCut(kWebPath, page), 0);

    std::string bytes = ReadFile(UrlFile());
    EXPECT_EQ(bytes, std::string("[InternetShortcut]\r\nURL=file://") + c.url);
    EXPECT_EQ(bytes.size(), strlen(c.pagePath) + 31);
    EXPECT_STREQ(page, c.url) << "the page path is rewritten in place";
}

INSTANTIATE_TEST_SUITE_P(
    Pages, WebShortCutBytes,
    ::testing::Values(PageCase{"Plain", "C:\\Tools\\QirPlayer.html", "C:/Tools/QirPlayer.html"},
                      PageCase{"BlanksStayBlanks", "C:\\Program Files\\Demo\\QirPlayer.html",
                               "C:/Program Files/Demo/QirPlayer.html"},
                      PageCase{"DriveRoot", "C:\\\\QirPlayer.html", "C://QirPlayer.html"},
                      PageCase{"NonAsciiBytesAsTheyAre", "Z:\\M\xC3\xBCller Caf\xC3\xA9\\QirPlayer.html",
                               "Z:/M\xC3\xBCller Caf\xC3\xA9/QirPlayer.html"}),
    [](const ::testing::TestParamInfo<PageCase> &info) { return std::string(info.param.label); });

TEST_F(WebShortCutTest, ReplacesALongerEarlierFileWhole)
{
    WriteFile(UrlFile(), std::string(4000, 'x') + "\r\n[InternetShortcut]\r\nURL=file://C:/old.html\r\n");
    PathBuffer page = "C:\\Orvo\\QirPlayer.html";
    ASSERT_EQ(CreateWebShortCut(kWebPath, page), 0);
    EXPECT_EQ(ReadFile(UrlFile()), "[InternetShortcut]\r\nURL=file://C:/Orvo/QirPlayer.html");
}

TEST_F(WebShortCutTest, PrintsItsTraceLine)
{
    PathBuffer page = "C:\\Orvo\\QirPlayer.html";
    int result = -2;
    EXPECT_EQ(WriteTraced(kWebPath, page, &result),
              " WebShortCut:c:\\windows\\desktop\\Orvo Player.url \n C:\\Orvo\\QirPlayer.html\n");
    EXPECT_EQ(result, 0);
}

// Ways in which the file cannot be opened: -1, the trace line, nothing written, the page path unchanged.
struct UnopenableCase {
    const char *label;
    void (*stage)(const std::string &desktop);
};

void PrintTo(const UnopenableCase &c, std::ostream *out)
{
    *out << c.label;
}

class WebShortCutUnopenable : public WebShortCutTest, public ::testing::WithParamInterface<UnopenableCase> {};

TEST_P(WebShortCutUnopenable, ReturnsMinusOneAndLeavesThePagePath)
{
    GetParam().stage(desktop_);
    PathBuffer page = "C:\\Orvo\\QirPlayer.html";
    int result = 0;
    std::string output = WriteTraced(kWebPath, page, &result);
    EXPECT_EQ(result, -1);
    EXPECT_STREQ(page, "C:\\Orvo\\QirPlayer.html");
    EXPECT_EQ(output, " WebShortCut:c:\\windows\\desktop\\Orvo Player.url \n C:\\Orvo\\QirPlayer.html\n"
                      " Unable to open Web Destination file:c:\\windows\\desktop\\Orvo Player.url \n");
    EXPECT_FALSE(Exists(UrlFile()) && !IsDirectory(UrlFile()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WebShortCutUnopenable,
    ::testing::Values(UnopenableCase{"DesktopMissing", [](const std::string &desktop) { RemoveTree(desktop); }},
                      UnopenableCase{"NameTakenByAFolder",
                                     [](const std::string &desktop) {
                                         MakeDirectories(desktop + "/Orvo Player.url");
                                     }}),
    [](const ::testing::TestParamInfo<UnopenableCase> &info) { return std::string(info.param.label); });

TEST_F(WebShortCutTest, AFullDiskAfterOpeningFailsAndRemovesThePartialFile)
{
    ASSERT_EQ(symlink("/dev/full", UrlFile().c_str()), 0);
    PathBuffer page = "C:\\Orvo\\QirPlayer.html";
    int result = 0;
    std::string output = WriteTraced(kWebPath, page, &result);
    EXPECT_EQ(result, -1);
    EXPECT_FALSE(Exists(UrlFile()));
    EXPECT_NE(output.find(" Unable to write Web Destination file:c:\\windows\\desktop\\Orvo Player.url \n"),
              std::string::npos)
        << output;
}

// ForwardSlashes on whatever a PathBuffer may hold, with guard bytes after it.
struct GuardedBuffer {
    PathBuffer buffer;
    char after[8];
};

TEST(ForwardSlashes, ReplacesEveryBackslashBeforeTheTerminatorOnly)
{
    const struct {
        std::string before;
        std::string after;
    } cases[] = {{"", ""},
                 {"no separators", "no separators"},
                 {"C:\\Orvo\\QirPlayer.html", "C:/Orvo/QirPlayer.html"},
                 {"C:\\\\x", "C://x"},
                 {"\\\\\\", "///"},
                 {"a/b\\c", "a/b/c"}};
    for (const auto &c : cases) {
        GuardedBuffer guarded;
        memset(&guarded, '\\', sizeof guarded);
        memcpy(guarded.buffer, c.before.c_str(), c.before.size() + 1);
        EXPECT_EQ(ForwardSlashes(guarded.buffer), 0);
        EXPECT_EQ(std::string(guarded.buffer), c.after);
        EXPECT_EQ(guarded.buffer[c.before.size() + 1], '\\') << "a byte past the terminator changed";
    }
}

TEST(ForwardSlashes, StopsAtTheBufferEndWithoutATerminator)
{
    GuardedBuffer guarded;
    memset(guarded.buffer, '\\', sizeof guarded.buffer);
    memset(guarded.after, '\\', sizeof guarded.after);
    ForwardSlashes(guarded.buffer);
    EXPECT_EQ(std::string(guarded.buffer, MAX_PATH), std::string(MAX_PATH, '/'));
    EXPECT_EQ(std::string(guarded.after, 8), std::string(8, '\\'));
}

} // namespace
