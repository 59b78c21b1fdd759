// Normalising the text of an alarm-time field.
#include "alarm/field_text.h"

#include "support/text.h"

#include <cstdio>
#include <cstring>

char* NormalizedFieldText(const char* text, int bound)
{
    char work[2048];
    snprintf(work, sizeof work, "%s", text);
    // "Not at most the bound" also catches nan, which compares false.
    if (!(TextToNumber(work) <= bound)) snprintf(work, sizeof work, "%d", bound);
    if (TextToNumber(work) <= 0) strcpy(work, "00");
    char* trimmed = TrimText(work);
    if (strlen(trimmed) == 1) {
        char digit[2] = {trimmed[0], 0};
        snprintf(work, sizeof work, "%s%s", "0", digit);
    }
    return TrimText(work);
}
