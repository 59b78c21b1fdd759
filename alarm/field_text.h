// Normalising the text of an alarm-time field. Portable code, no <windows.h>.
#pragma once

int const HoursBound = 23;
int const MinutesSecondsBound = 59;

// The text a field shows after normalising: a value above the bound (or not a
// number at all, such as nan) becomes the bound, one at or below 0 becomes
// "00", a single character gets a leading "0", and blanks are trimmed.
// Returns a temporary text.
char* NormalizedFieldText(const char* text, int bound);
