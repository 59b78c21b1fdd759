// The window menu's item texts follow the buttons' captions and keep their keys.
#include "support/menu_text.h"

#include <gtest/gtest.h>

TEST(WindowMenuText, MarksTheFirstLetterThatIsTheKeyWhateverItsCase)
{
    struct Case {
        const char* caption;
        char key;
        const char* text;
    };
    Case const cases[] = {
        {"Alarm On", 'A', "&Alarm On"},
        {"Alarm Off", 'A', "&Alarm Off"},
        {"Test", 'T', "&Test"},
        {"Stop", 'T', "S&top"},  // not the capital S: T stays the key
        {"Snooze", 'Z', "Snoo&ze"},
        {"Snooze", 'q', "Snooze"},  // no such letter
        {"R&D", 'D', "R&&&D"},  // a caption's own ampersand shows as one
        {"", 'A', ""},
    };
    for (Case const& c : cases) EXPECT_STREQ(MenuTextWithKey(c.caption, c.key), c.text) << c.caption;
}
