// Menu item texts made from button captions.
#include "support/menu_text.h"

#include "support/text.h"

#include <cctype>
#include <cstring>

char* MenuTextWithKey(const char* caption, char key)
{
    int const wanted = std::tolower(static_cast<unsigned char>(key));
    // Every character doubled at most, and one ampersand for the key; the
    // temporary text comes zeroed, so it ends where the copy stops.
    char* text = AllocTempText(2 * static_cast<int>(std::strlen(caption)) + 1);
    char* end = text;
    bool marked = false;
    for (const char* c = caption; *c != 0; ++c) {
        if (*c == '&') *end++ = '&';
        if (!marked && std::tolower(static_cast<unsigned char>(*c)) == wanted) {
            *end++ = '&';
            marked = true;
        }
        *end++ = *c;
    }
    return text;
}
