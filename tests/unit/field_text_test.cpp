// What an alarm-time field shows after normalising.
#include "alarm/field_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

TEST(FieldNormalising, ClampsPadsAndTrimsAsTheUserSeesIt)
{
    struct Case {
        const char* text;
        const char* hours;
        const char* minutesOrSeconds;
    };
    Case const cases[] = {
        {"7", "07", "07"},        {"0", "00", "00"},    {"", "00", "00"},
        {"12", "12", "12"},       {"24", "23", "24"},   {"75", "23", "59"},
        {"123", "23", "59"},      {"-5", "00", "00"},   {" 5", "05", "05"},
        {" 12", "12", "12"},      {"ab", "00", "00"},   {"5a", "05", "05"},
        {"1.5", "01", "01"},      {"23.5", "23", "23"}, {"0x10", "16", "16"},
        {"1e1", "10", "10"},      {"nan", "23", "59"},  {"NaN", "23", "59"},
        {"inf", "23", "59"},      {"INF", "23", "59"},  {"-inf", "00", "00"},
        {"1e999", "23", "59"},    {"-0", "00", "00"},   {"0.5", "00", "00"},
        {"007", "07", "07"},      {"23.", "23", "23"},  {"0x", "00", "00"},
        {" 7", "07", "07"},  // as snooze writes a number
        {"\t12\r\n", "12", "12"}, {"59", "23", "59"},   {"59.9", "23", "59"},
        {"60", "23", "59"},
    };
    for (Case const& c : cases) {
        EXPECT_EQ(std::string(NormalizedFieldText(c.text, HoursBound)), c.hours) << "'" << c.text << "'";
        EXPECT_EQ(std::string(NormalizedFieldText(c.text, MinutesSecondsBound)), c.minutesOrSeconds)
            << "'" << c.text << "'";
    }
}

namespace {

// Texts as a paste can bring them: random bytes, and numbers in every form
// strtod reads, with blanks and junk around them.
std::string GeneratedText(std::mt19937& random)
{
    std::uniform_int_distribution<int> pick(0, 5);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<int> length(0, 12);
    const char* const blanks[] = {"", " ", "\t", "\r\n", "  \v", "\f"};
    const char* const words[] = {"nan", "NAN(123)", "inf", "-Infinity", "0x", "0X1p4", "-0x1F", "+", "-", ".", "e"};
    std::string text = blanks[pick(random)];
    switch (pick(random)) {
    case 0: {
        int n = length(random);
        for (int i = 0; i < n; ++i) text += static_cast<char>(byte(random));
        break;
    }
    case 1:
        text += words[std::uniform_int_distribution<int>(0, 10)(random)];
        break;
    case 2: {
        char number[64];
        std::uniform_real_distribution<double> value(-200, 200);
        const char* formats[] = {"%g", "%.3f", "%e", "%a", "%+.0f", "%.17g"};
        snprintf(number, sizeof number, formats[pick(random)], value(random));
        text += number;
        break;
    }
    default:
        text += std::to_string(std::uniform_int_distribution<int>(-100, 1000)(random));
        break;
    }
    text += blanks[pick(random)];
    if (pick(random) == 0) text += static_cast<char>(byte(random));
    return text;
}

}  // namespace

TEST(FieldNormalising, AnyTextBecomesTwoDigitsInRangeThatStayAsTheyAre)
{
    std::mt19937 random(20261207);
    for (int i = 0; i < 20000; ++i) {
        std::string text = GeneratedText(random);
        for (int bound : {HoursBound, MinutesSecondsBound}) {
            std::string once = NormalizedFieldText(text.c_str(), bound);
            ASSERT_EQ(once.size(), 2u) << "'" << text << "'";
            ASSERT_TRUE(isdigit(static_cast<unsigned char>(once[0])) && isdigit(static_cast<unsigned char>(once[1])))
                << "'" << text << "' gave '" << once << "'";
            ASSERT_LE(std::stoi(once), bound) << "'" << text << "'";
            ASSERT_EQ(std::string(NormalizedFieldText(once.c_str(), bound)), once) << "'" << text << "'";
        }
    }
}
