// Menu item texts made from button captions.
#include "support/menu_text.h"

#include <cctype>

std::string MenuTextWithKey(const std::string& caption, char key)
{
    int const wanted = std::tolower(static_cast<unsigned char>(key));
    std::string text;
    bool marked = false;
    for (char c : caption) {
        if (c == '&') text += '&';
        if (!marked && std::tolower(static_cast<unsigned char>(c)) == wanted) {
            text += '&';
            marked = true;
        }
        text += c;
    }
    return text;
}
