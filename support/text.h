// Temporary texts and the text, number, time and date functions built on them.
// Every function returning char* hands out a temporary text from the TempText
// ring: the caller never frees it, and it stays valid for 2047 further takes.
// Portable code: no <windows.h> here (the control functions live in control_text.h).
#pragma once

#include <ctime>

int const TempTextSlots = 2048;

// The ring: each slot is empty (null) or owns one calloc'd buffer.
extern char* TempText[TempTextSlots];
// Number of the slot taken last; the first take of the process uses slot 1.
extern int TempTextIndex;

char* AllocTempText(int n);
int CompareText(const char* a, const char* b);
char* LeftText(const char* text, int count);
char* MidText(const char* text, int start, int count);
char* TrimText(const char* text);
char* NumberToText(double value);
char* SpaceText(int n);
char* TimeText(int kind);
char* CharsToText(int c1, int c2, int c3, int c4, int c5, int c6, int c7, int c8, int c9, int c10);
char* JoinTexts(int count, ...);
double TextToNumber(const char* text);
char* DateText(char* buffer);

// Formatting of a given broken-down time, which TimeText and DateText apply to
// the current local time; tests use these to fix the clock.
char* FormatTimeText(int kind, const struct tm* when);
char* FormatDateText(char* buffer, const struct tm* when);
