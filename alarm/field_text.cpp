// Normalising the text of an alarm-time field.
#include "alarm/field_text.h"

#include "support/text.h"

#include <cstdio>

char* NormalizedFieldText(const char* text, int bound)
{
    double value = TextToNumber(text);
    int number;
    // "Not at most the bound" also catches nan, which compares false.
    if (!(value <= bound))
        number = bound;
    else if (value <= 0)
        number = 0;
    else
        number = static_cast<int>(value);
    char* result = AllocTempText(2);
    snprintf(result, 3, "%02d", number);
    return result;
}
