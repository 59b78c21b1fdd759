// Normalising the text of an alarm-time field. Portable code, no <windows.h>.
#pragma once

int const HoursBound = 23;
int const MinutesSecondsBound = 59;

// The text a field shows after normalising: always two digits from "00" to
// the bound. The text is read as a number the way TextToNumber reads it
// (leading blanks skipped, reading stops at the first character that cannot
// continue a number); a value above the bound, or no value at all such as nan,
// becomes the bound; one at or below 0 becomes "00"; any other is truncated
// toward zero. Pasted texts such as "5a" or "1.5" therefore still make an
// alarm time that can match the clock. Returns a temporary text.
char* NormalizedFieldText(const char* text, int bound);
