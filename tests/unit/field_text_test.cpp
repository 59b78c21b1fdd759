// What an alarm-time field shows after normalising.
#include "alarm/field_text.h"

#include <gtest/gtest.h>

#include <string>

TEST(FieldNormalising, ClampsPadsAndTrimsAsTheUserSeesIt)
{
    struct Case { const char* text; const char* hours; const char* minutesOrSeconds; };
    Case const cases[] = {
        {"7", "07", "07"},
        {"0", "00", "00"},
        {"", "00", "00"},
        {"12", "12", "12"},
        {"24", "23", "24"},
        {"75", "23", "59"},
        {"123", "23", "59"},
        {"-5", "00", "00"},
        {" 5", "05", "05"},
        {" 12", "12", "12"},
        {"ab", "00", "00"},
        {"5a", "5a", "5a"},
        {"1.5", "1.5", "1.5"},
        {"23.5", "23", "23.5"},
        {"nan", "23", "59"},
        {"NaN", "23", "59"},
        {"inf", "23", "59"},
        {"INF", "23", "59"},
        {"-inf", "00", "00"},
        {" 7", "07", "07"},   // as snooze writes a number
        {"59", "23", "59"},
        {"60", "23", "59"},
    };
    for (Case const& c : cases) {
        EXPECT_EQ(std::string(NormalizedFieldText(c.text, HoursBound)), c.hours) << "'" << c.text << "'";
        EXPECT_EQ(std::string(NormalizedFieldText(c.text, MinutesSecondsBound)), c.minutesOrSeconds)
            << "'" << c.text << "'";
    }
}

TEST(FieldNormalising, NormalisingTwiceChangesNothing)
{
    const char* const texts[] = {"7", "", "99", "-3", " 4", "ab", "5a", "1.5", "nan", "08", "\t9\r\n"};
    for (const char* text : texts) {
        for (int bound : {HoursBound, MinutesSecondsBound}) {
            std::string once = NormalizedFieldText(text, bound);
            EXPECT_EQ(std::string(NormalizedFieldText(once.c_str(), bound)), once) << "'" << text << "'";
        }
    }
}
