// The temporary text ring and the text functions, checked against the C library
// where it is the reference. All tests share the process-wide ring, so none of them
// assumes where the ring stands when it begins.
#include "support/text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

// The ring as the process found it, before any test took a text.
int const IndexAtLoad = TempTextIndex;
int const FilledSlotsAtLoad = [] {
    int filled = 0;
    for (char* slot : TempText) filled += slot != nullptr;
    return filled;
}();

// Slots taken since a given index, assuming fewer than a whole turn of the ring.
int TakesSince(int index)
{
    return (TempTextIndex - index) & (TempTextSlots - 1);
}

std::string Bytes(std::initializer_list<int> codes)
{
    std::string text;
    for (int c : codes) text += static_cast<char>(c);
    return text;
}

struct tm MakeTime(int year, int month, int day, int hour, int minute, int second)
{
    struct tm when = {};
    when.tm_year = year - 1900;
    when.tm_mon = month - 1;
    when.tm_mday = day;
    when.tm_hour = hour;
    when.tm_min = minute;
    when.tm_sec = second;
    // Weekday and day of the year from the calendar; noon keeps any zone's
    // daylight-saving shift from moving the probe to another day.
    struct tm probe = when;
    probe.tm_hour = 12;
    probe.tm_isdst = -1;
    std::mktime(&probe);
    when.tm_wday = probe.tm_wday;
    when.tm_yday = probe.tm_yday;
    return when;
}

std::string Strftime(const char* format, const struct tm& when)
{
    char buffer[256];
    size_t n = std::strftime(buffer, sizeof buffer, format, &when);
    return std::string(buffer, n);
}

char const* const KindFormats[] = {
    "%H:%M:%S", "%H", "%M", "%S", "%p", "%Y", "%m", "%d", "%A", "%w", "%j", "%U",
};

TEST(TempTextRing, StartsEmptyBeforeTheFirstTake)
{
    EXPECT_EQ(IndexAtLoad, 0);
    EXPECT_EQ(FilledSlotsAtLoad, 0);
}

TEST(TempTextRing, TakesSlotsInOrderFromOneAndWrapsThroughZero)
{
    // Bring the ring to where a fresh process stands: last take in slot 0.
    while (TempTextIndex != 0) AllocTempText(0);
    for (int take = 1; take <= TempTextSlots + 1; ++take) {
        char* text = AllocTempText(0);
        int expected = take % TempTextSlots;
        ASSERT_EQ(TempTextIndex, expected) << "take " << take;
        ASSERT_EQ(TempText[expected], text) << "take " << take;
    }
}

TEST(TempTextRing, TextSurvives2047FurtherTakesAndThe2048thReleasesIt)
{
    char* kept = AllocTempText(20);
    int const slot = TempTextIndex;
    std::strcpy(kept, "still here");
    for (int take = 1; take <= TempTextSlots - 1; ++take) {
        // Alternate sizes so a release followed by a reuse of the same block is unlikely.
        AllocTempText(take % 3 == 0 ? 300 : 0);
        ASSERT_NE(TempTextIndex, slot) << "take " << take << " reused the kept text's slot";
    }
    EXPECT_EQ(TempText[slot], kept);
    EXPECT_STREQ(kept, "still here");

    char* next = AllocTempText(0);
    EXPECT_EQ(TempTextIndex, slot);
    EXPECT_EQ(TempText[slot], next);
}

TEST(TempTextRing, ATextAtTheEndOfItsLifeCanStillBeCopied)
{
    // The copying function's own take is the one that releases its argument.
    struct Case {
        const char* name;
        std::function<char*(const char*)> copy;
        const char* expected;
    };
    Case const cases[] = {
        {"LeftText", [](const char* t) { return LeftText(t, 3); }, " 12"},
        {"MidText", [](const char* t) { return MidText(t, 2, -1); }, "12:34 "},
        {"TrimText", [](const char* t) { return TrimText(t); }, "12:34"},
        {"JoinTexts", [](const char* t) { return JoinTexts(2, t, t); }, " 12:34  12:34 "},
    };
    for (Case const& c : cases) {
        char* old = LeftText(" 12:34 ", 100);
        for (int take = 1; take <= TempTextSlots - 1; ++take) AllocTempText(0);
        EXPECT_STREQ(c.copy(old), c.expected) << c.name;
    }
}

TEST(TempTextRing, HandsOutZeroedBuffersWithRoomFor128MoreBytes)
{
    struct Case {
        int n;
        size_t bytes;
    };
    Case const cases[] = {{0, 128}, {1, 129}, {100, 228}, {5000, 5128}, {-1, 128}, {-5000, 128}};
    for (Case const& c : cases) {
        // Dirty the heap first so a buffer that is not zeroed on hand-out shows.
        for (int round = 0; round < 4; ++round) {
            char* text = AllocTempText(c.n);
            for (size_t i = 0; i < c.bytes; ++i) ASSERT_EQ(text[i], 0) << "n " << c.n << " byte " << i;
            std::memset(text, 0x5A, c.bytes);
            for (int take = 0; take < TempTextSlots - 1; ++take) AllocTempText(0);
        }
    }
}

TEST(TempTextRing, EachFunctionTakesItsNumberOfSlots)
{
    char date[9];
    struct tm const when = MakeTime(2026, 12, 5, 7, 5, 9);
    struct Case {
        const char* name;
        int takes;
        std::function<void()> call;
    };
    Case const cases[] = {
        {"AllocTempText", 1, [] { AllocTempText(10); }},
        {"CompareText", 0, [] { CompareText("a", "b"); }},
        {"LeftText", 1, [] { LeftText("abc", 2); }},
        {"LeftText of nothing", 1, [] { LeftText("", 0); }},
        {"MidText", 1, [] { MidText("abc", 2, 1); }},
        {"MidText outside", 1, [] { MidText("abc", 9, 1); }},
        {"TrimText", 1, [] { TrimText("  a  "); }},
        {"TrimText of blanks", 1, [] { TrimText("   "); }},
        {"NumberToText", 1, [] { NumberToText(7); }},
        {"SpaceText", 1, [] { SpaceText(3); }},
        {"TimeText", 1, [] { TimeText(0); }},
        {"TimeText unknown kind", 1, [] { TimeText(12); }},
        {"FormatTimeText", 1, [&] { FormatTimeText(0, &when); }},
        {"CharsToText", 1, [] { CharsToText(65, 0, 0, 0, 0, 0, 0, 0, 0, 0); }},
        {"JoinTexts", 1, [] { JoinTexts(3, "a", " ", "b"); }},
        {"JoinTexts of none", 1, [] { JoinTexts(0); }},
        {"TextToNumber", 0, [] { TextToNumber("59"); }},
        {"DateText", 0, [&] { DateText(date); }},
        {"FormatDateText", 0, [&] { FormatDateText(date, &when); }},
    };
    for (Case const& c : cases) {
        int before = TempTextIndex;
        c.call();
        EXPECT_EQ(TakesSince(before), c.takes) << c.name;
    }
}

TEST(CompareText, OrdersBytesAsUnsignedAndReturnsOnlySigns)
{
    struct Case {
        std::string a;
        std::string b;
        int expected;
    };
    Case const cases[] = {
        {"Stop", "Stop", 0},
        {"Sto", "Stop", -1},
        {"Stop", "Sto", 1},
        {"", "", 0},
        {"", "a", -1},
        {"a", "", 1},
        {"a", "z", -1},
        {"z", "a", 1},
        {"stop", "Stop", 1},
        {"06:00:00", "06:00:01", -1},
        {Bytes({0xE9}), "z", 1},
        {"z", Bytes({0xE9}), -1},
        {Bytes({0x80}), Bytes({0x7F}), 1},
        {Bytes({0xFF}), Bytes({0x01}), 1},
        {Bytes({0xE9, 'a'}), Bytes({0xE9, 'a'}), 0},
    };
    for (Case const& c : cases) EXPECT_EQ(CompareText(c.a.c_str(), c.b.c_str()), c.expected) << c.a << " vs " << c.b;
}

TEST(LeftText, KeepsTheFirstCountCharacters)
{
    struct Case {
        const char* text;
        int count;
        const char* expected;
    };
    Case const cases[] = {
        {"abc", 5, "abc"}, {"abc", 3, "abc"}, {"abc", 2, "ab"}, {"abc", 1, "a"},       {"abc", 0, ""},
        {"", 0, ""},       {"", 4, ""},       {"abc", -1, ""},  {"12:34:56", 2, "12"},
    };
    for (Case const& c : cases) EXPECT_STREQ(LeftText(c.text, c.count), c.expected) << c.text << ", " << c.count;
}

TEST(MidText, TakesCountCharactersFromAOneBasedStart)
{
    struct Case {
        const char* text;
        int start;
        int count;
        const char* expected;
    };
    Case const cases[] = {
        {"12:34:56", 4, 2, "34"},
        {"12:34:56", 7, 2, "56"},
        {"abc", 2, -1, "bc"},
        {"abc", 2, 10, "bc"},
        {"abc", 2, std::numeric_limits<int>::max(), "bc"},  // takes room for two, not for the count
        {"abc", 3, 1, "c"},
        {"abc", 1, 3, "abc"},
        {"abc", 4, 1, ""},
        {"abc", 0, 1, ""},
        {"abc", -3, 1, ""},
        {"abc", 1, 0, ""},
        {"", 1, 1, ""},
        {"", 0, -1, ""},
        {"", 1, -1, ""},
    };
    for (Case const& c : cases) {
        EXPECT_STREQ(MidText(c.text, c.start, c.count), c.expected)
            << c.text << " from " << c.start << " for " << c.count;
    }
}

TEST(TrimText, DropsBlanksAtBothEndsOnly)
{
    struct Case {
        std::string text;
        std::string expected;
    };
    Case const cases[] = {
        {"\t 12 \r\n", "12"},     {"   ", ""},      {"", ""},         {" a b ", "a b"},
        {"\v\v06\v", "06"},       {"\f12", "\f12"}, {"12\f", "12\f"}, {" \f 12 \f ", "\f 12 \f"},
        {"06:00:00", "06:00:00"},
    };
    for (Case const& c : cases) EXPECT_EQ(std::string(TrimText(c.text.c_str())), c.expected) << '"' << c.text << '"';
}

TEST(TrimText, BlanksAreTheCLocaleSpacesExceptFormFeed)
{
    for (int code = 1; code <= 255; ++code) {
        std::string const c(1, static_cast<char>(code));
        bool const blank = std::isspace(code) && code != '\f';
        std::string const expected = blank ? "x" : c + "x" + c;
        std::string const padded = c + c + "x" + c + c;
        EXPECT_EQ(std::string(TrimText((c + "x" + c).c_str())), expected) << "code " << code;
        EXPECT_EQ(std::string(TrimText(padded.c_str())), blank ? "x" : padded) << "code " << code;
        EXPECT_EQ(std::string(TrimText((c + c).c_str())), blank ? "" : c + c) << "code " << code;
    }
}

TEST(TrimText, ResultLivesInItsOwnTemporaryText)
{
    std::string const text = "  kept  ";
    char* trimmed = TrimText(text.c_str());
    char* buffer = TempText[TempTextIndex];
    EXPECT_GE(trimmed, buffer);
    EXPECT_LT(trimmed, buffer + text.size() + 128);
}

TEST(NumberToText, MatchesSnprintfWithFifteenSignificantDigits)
{
    struct Case {
        double value;
        const char* expected;
    };
    Case const examples[] = {
        {7, " 7"}, {0, " 0"}, {-3, "-3"}, {0.5, " 0.5"}, {1e15, " 1E+15"}, {59, " 59"},
    };
    for (Case const& c : examples) EXPECT_STREQ(NumberToText(c.value), c.expected) << c.value;

    std::vector<double> values = {
        -0.0,
        1e14,
        999999999999999.0,
        1e-4,
        1e-5,
        0.1,
        1.0 / 3,
        -2.5e-300,
        123456789012345678.0,
        DBL_MAX,
        -DBL_MAX,
        DBL_MIN,
        DBL_TRUE_MIN,
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN(),
        3.14159265358979323846,
        2147483647.0,
        -2147483648.0,
        4294967296.0,
    };
    for (int n = 0; n <= 59; ++n) values.push_back(n);
    std::mt19937_64 bits(20261205);
    for (int i = 0; i < 2000; ++i) {
        uint64_t raw = bits();
        double value;
        std::memcpy(&value, &raw, sizeof value);
        values.push_back(value);
        values.push_back(static_cast<double>(static_cast<int64_t>(raw) >> (raw & 63)));
    }
    for (double value : values) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "% .15G", value);
        ASSERT_STREQ(NumberToText(value), expected);
    }
}

TEST(TextToNumber, MatchesStrtod)
{
    struct Case {
        const char* text;
        double expected;
    };
    Case const examples[] = {
        {"", 0}, {" 59", 59}, {"07", 7}, {"5x", 5}, {"x5", 0}, {"-2", -2},
    };
    for (Case const& c : examples) EXPECT_EQ(TextToNumber(c.text), c.expected) << '"' << c.text << '"';

    const char* const texts[] = {
        "",
        "0",
        "59",
        " 59",
        "07",
        "5x",
        "x5",
        "-2",
        "+2",
        "+-2",
        "--2",
        "\t\n\v\f\r 3",
        "\f7",
        "1e3",
        "1E-3",
        "1e",
        "1e+",
        "2.5e+2x",
        ".5",
        "5.",
        ".",
        "-",
        "+",
        "-0",
        "  -0",
        "1,5",
        "1.5.5",
        "23.9",
        "-0.9",
        "1e400",
        "-1e400",
        "1e-400",
        "4.9e-324",
        "nan",
        "NaN",
        "NAN",
        "-nan",
        "nan(123)",
        "nanx",
        "inf",
        "INF",
        "-Inf",
        "infinity",
        "Infinity",
        "infinit",
        "infx",
        "0x1A",
        "0X1a",
        "0x1p3",
        "-0x.8",
        "0x",
        "0xg",
        "99999999999999999999",
        "0.1",
        "1e-5",
        "\xE9"
        "5",
        "1 2",
    };
    for (const char* text : texts) {
        double const expected = std::strtod(text, nullptr);
        double const actual = TextToNumber(text);
        if (std::isnan(expected)) {
            EXPECT_TRUE(std::isnan(actual)) << '"' << text << '"';
            EXPECT_EQ(std::signbit(actual), std::signbit(expected)) << '"' << text << '"';
        } else {
            EXPECT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0)
                << '"' << text << "\" gave " << actual << ", strtod " << expected;
        }
    }
}

TEST(SpaceText, IsNSpaces)
{
    struct Case {
        int n;
        size_t spaces;
    };
    Case const cases[] = {{0, 0}, {1, 1}, {3, 3}, {256, 256}, {1000, 1000}, {-4, 0}};
    for (Case const& c : cases) EXPECT_EQ(std::string(SpaceText(c.n)), std::string(c.spaces, ' ')) << c.n;
}

TEST(CharsToText, StoresLowBytesUpToTheFirstZero)
{
    struct Case {
        int codes[10];
        std::string expected;
    };
    Case const cases[] = {
        {{65, 0, 66, 0, 0, 0, 0, 0, 0, 0}, "A"},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, ""},
        {{49, 50, 0, 0, 0, 0, 0, 0, 0, 0}, "12"},
        {{48, 49, 50, 51, 52, 53, 54, 55, 56, 57}, "0123456789"},
        {{0x141, 0x100, 66, 0, 0, 0, 0, 0, 0, 0}, "A"},
        {{0xE9, -191, 0x7FFFFF7A, 0, 0, 0, 0, 0, 0, 0}, Bytes({0xE9, 'A', 'z'})},
    };
    for (Case const& c : cases) {
        int const* k = c.codes;
        char* text = CharsToText(k[0], k[1], k[2], k[3], k[4], k[5], k[6], k[7], k[8], k[9]);
        EXPECT_EQ(std::string(text), c.expected);
        EXPECT_EQ(text[10], 0);
    }
}

TEST(JoinTexts, JoinsTheTextsInOrder)
{
    std::string const longText(300, 'x');
    std::string const otherText(200, 'y');
    EXPECT_STREQ(JoinTexts(0), "");
    EXPECT_STREQ(JoinTexts(-1), "");
    EXPECT_STREQ(JoinTexts(1, ""), "");
    EXPECT_STREQ(JoinTexts(1, "06"), "06");
    EXPECT_STREQ(JoinTexts(3, "a", " ", "b"), "a b");
    EXPECT_STREQ(JoinTexts(5, "06", ":", "00", ":", "00"), "06:00:00");
    EXPECT_STREQ(JoinTexts(6, "06", ":", "07", ":", "00", CharsToText(0, 0, 0, 0, 0, 0, 0, 0, 0, 0)), "06:07:00");
    EXPECT_EQ(std::string(JoinTexts(3, longText.c_str(), "-", otherText.c_str())), longText + "-" + otherText);
}

TEST(FormatTimeText, EachKindMatchesStrftimeAndOtherKindsAreEmpty)
{
    struct tm const times[] = {
        MakeTime(2026, 12, 5, 7, 5, 9),   MakeTime(2026, 12, 5, 23, 30, 0),  MakeTime(2000, 1, 1, 0, 0, 0),
        MakeTime(2024, 2, 29, 12, 0, 59), MakeTime(2023, 12, 31, 13, 59, 1), MakeTime(1999, 7, 4, 11, 59, 59),
    };
    for (struct tm const& when : times) {
        for (int kind = 0; kind < 12; ++kind) {
            EXPECT_EQ(std::string(FormatTimeText(kind, &when)), Strftime(KindFormats[kind], when))
                << "kind " << kind << " at " << Strftime("%c", when);
        }
        for (int kind : {12, -1, 100, std::numeric_limits<int>::min()})
            EXPECT_STREQ(FormatTimeText(kind, &when), "") << "kind " << kind;
    }
}

TEST(FormatTimeText, ClockTextIsTwoDigitsEachOnA24HourClock)
{
    struct Case {
        int hour, minute, second;
        const char* expected;
    };
    Case const cases[] = {
        {7, 5, 9, "07:05:09"},
        {23, 30, 0, "23:30:00"},
        {0, 0, 0, "00:00:00"},
        {12, 0, 0, "12:00:00"},
    };
    for (Case const& c : cases) {
        struct tm const when = MakeTime(2026, 12, 5, c.hour, c.minute, c.second);
        EXPECT_STREQ(FormatTimeText(0, &when), c.expected);
    }
}

TEST(FormatDateText, WritesMonthDayAndTwoDigitYear)
{
    struct Case {
        struct tm when;
        const char* expected;
    };
    Case const cases[] = {
        {MakeTime(2026, 12, 5, 21, 9, 43), "12/05/26"},
        {MakeTime(2000, 1, 1, 0, 0, 0), "01/01/00"},
        {MakeTime(1999, 7, 4, 23, 59, 59), "07/04/99"},
    };
    for (Case const& c : cases) {
        char buffer[9];  // exactly the room the function is promised
        EXPECT_EQ(FormatDateText(buffer, &c.when), buffer);
        EXPECT_STREQ(buffer, c.expected);
    }
}

TEST(TimeText, ReadsTheCurrentLocalTime)
{
    for (int kind = 0; kind < 12; ++kind) {
        time_t before = std::time(nullptr);
        std::string const text = TimeText(kind);
        time_t after = std::time(nullptr);
        std::string const early = Strftime(KindFormats[kind], *std::localtime(&before));
        std::string const late = Strftime(KindFormats[kind], *std::localtime(&after));
        EXPECT_TRUE(text == early || text == late) << "kind " << kind << ": " << text;
        if (kind == 0) {
            ASSERT_EQ(text.size(), 8u);
            for (int i : {0, 1, 3, 4, 6, 7}) EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(text[i]))) << text;
            EXPECT_EQ(text[2], ':');
            EXPECT_EQ(text[5], ':');
        }
    }
    EXPECT_STREQ(TimeText(12), "");
    EXPECT_STREQ(TimeText(-1), "");
}

TEST(DateText, ReadsTheCurrentLocalDate)
{
    char buffer[9];
    time_t before = std::time(nullptr);
    EXPECT_EQ(DateText(buffer), buffer);
    time_t after = std::time(nullptr);
    std::string const text = buffer;
    EXPECT_TRUE(text == Strftime("%m/%d/%y", *std::localtime(&before)) ||
                text == Strftime("%m/%d/%y", *std::localtime(&after)))
        << text;
}

}  // namespace
