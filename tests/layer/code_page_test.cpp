// The layer's ANSI code page (UTF-8) to UTF-16 and back.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace {

std::u16string Widen(const std::string &text)
{
    WCHAR units[64];
    int count = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, units, 64);
    return count > 0 ? std::u16string(units, static_cast<size_t>(count - 1)) : u"(failed)";
}

TEST(CodePage, ConvertsUtf8ToUtf16)
{
    const struct {
        std::string ansi;
        std::u16string wide;
    } cases[] = {
        {"", u""},
        {"c:\\windows\\desktop\\Orvo Recorder.pif", u"c:\\windows\\desktop\\Orvo Recorder.pif"},
        {"M\xC3\xBCller Caf\xC3\xA9", u"M\u00FCller Caf\u00E9"},
        {"\xE2\x82\xAC", u"\u20AC"},
        {"\xF0\x9F\x8E\xB5", u"\U0001F3B5"}, // a surrogate pair
        {"a\xFFz", u"a\uFFFDz"},             // not UTF-8
        {"\xC0\xAF", u"\uFFFD\uFFFD"},       // an overlong form
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}, // an encoded surrogate
        {"\xE2\x82", u"\uFFFD\uFFFD"},       // cut short
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Widen(c.ansi), c.wide) << c.ansi;
    }
}

TEST(CodePage, ReportsTheSizeNeededAndRefusesASmallBuffer)
{
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "M\xC3\xBCller", -1, nullptr, 0), 7);
    WCHAR units[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "M\xC3\xBCller", -1, units, 4), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 3, units, 4), 3) << "no terminator without -1";
}

TEST(CodePage, RoundTripsThroughUtf16)
{
    const char *texts[] = {"C:\\Orvo\\recorder.bat", "Z:\\M\xC3\xBCller Caf\xC3\xA9\\x", "\xF0\x9F\x8E\xB5"};
    for (const char *text : texts) {
        WCHAR units[64];
        char back[64];
        ASSERT_GT(MultiByteToWideChar(CP_ACP, 0, text, -1, units, 64), 0);
        ASSERT_GT(WideCharToMultiByte(CP_ACP, 0, units, -1, back, 64, nullptr, nullptr), 0);
        EXPECT_STREQ(back, text);
    }
    const WCHAR lone[] = {0xD800, u'a', 0};
    char back[16];
    ASSERT_GT(WideCharToMultiByte(CP_ACP, 0, lone, -1, back, 16, nullptr, nullptr), 0);
    EXPECT_STREQ(back, "\xEF\xBF\xBD" "a");
}

} // namespace
