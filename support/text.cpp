// The temporary text ring and the text, number, time and date functions on it.
#include "support/text.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

// Ring state, written only by KeepTempText.
char* TempText[TempTextSlots];  // each slot null or a calloc'd buffer it owns
int TempTextIndex = 0;  // slot of the last take; the first take uses slot 1

namespace {

// Every temporary text has this much zeroed room past what was asked for, so
// writers of up to that many extra characters need no terminator of their own.
size_t const TempTextSlack = 128;

// Room of the work buffer that strftime formats into.
size_t const TimeTextRoom = 256;

char const* const TimeFormats[] = {
    "%H:%M:%S", "%H", "%M", "%S", "%p", "%Y", "%m", "%d", "%A", "%w", "%j", "%U",
};
int const TimeFormatCount = sizeof TimeFormats / sizeof TimeFormats[0];

// A zeroed buffer for a temporary text, not yet in the ring. Callers write
// into it without checking, so running out of heap ends the program rather
// than handing out null.
char* NewTempText(size_t characters)
{
    if (characters > static_cast<size_t>(-1) - TempTextSlack) {
        std::fputs("Vexo: temporary text too long\n", stderr);
        std::abort();
    }
    char* text = static_cast<char*>(std::calloc(characters + TempTextSlack, 1));
    if (text == nullptr) {
        std::fputs("Vexo: out of memory for a temporary text\n", stderr);
        std::abort();
    }
    return text;
}

// The one place that takes a slot: the text goes into the next slot, and the
// text that slot held is released. Functions that copy their arguments fill
// their buffer first, since an argument 2047 takes old is the very text that
// this take releases.
char* KeepTempText(char* text)
{
    TempTextIndex = (TempTextIndex + 1) & (TempTextSlots - 1);
    std::free(TempText[TempTextIndex]);
    TempText[TempTextIndex] = text;
    return text;
}

char* TakeTempText(size_t characters)
{
    return KeepTempText(NewTempText(characters));
}

// Negative counts are never asked for; they mean nothing, so they take nothing.
size_t CountOrZero(int count)
{
    return count > 0 ? static_cast<size_t>(count) : 0;
}

bool IsBlank(char c)
{
    return c == '\t' || c == '\n' || c == '\v' || c == '\r' || c == ' ';
}

}  // namespace

char* AllocTempText(int n)
{
    return TakeTempText(CountOrZero(n));
}

int CompareText(const char* a, const char* b)
{
    // Bytes rank as unsigned, so accented letters sort after ASCII whatever char's sign.
    const unsigned char* x = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* y = reinterpret_cast<const unsigned char*>(b);
    for (; *x == *y; ++x, ++y) {
        if (*x == 0) return 0;
    }
    return *x < *y ? -1 : 1;
}

char* LeftText(const char* text, int count)
{
    size_t length = std::strlen(text);
    char* result = NewTempText(length);
    std::memcpy(result, text, length);
    size_t keep = CountOrZero(count);
    if (keep < length) result[keep] = 0;
    return KeepTempText(result);
}

char* MidText(const char* text, int start, int count)
{
    size_t length = std::strlen(text);
    if (start < 1 || static_cast<size_t>(start) > length) return TakeTempText(1);
    size_t from = static_cast<size_t>(start) - 1;
    // Room for what is there to copy: a count far past the end would
    // otherwise ask the heap for that many zeros.
    size_t rest = length - from;
    size_t take = count < 0 || static_cast<size_t>(count) > rest ? rest : static_cast<size_t>(count);
    char* result = NewTempText(take);
    std::memcpy(result, text + from, take);
    return KeepTempText(result);
}

char* TrimText(const char* text)
{
    size_t length = std::strlen(text);
    char* copy = NewTempText(length);
    std::memcpy(copy, text, length);
    while (length > 0 && IsBlank(copy[length - 1])) copy[--length] = 0;
    KeepTempText(copy);
    // The ring frees the buffer by its start, so the result may begin further in.
    char* result = copy;
    while (IsBlank(*result)) ++result;
    return result;
}

char* NumberToText(double value)
{
    size_t const characters = 16;
    char* text = TakeTempText(characters);
    std::snprintf(text, characters + TempTextSlack, "% .15G", value);
    return text;
}

char* SpaceText(int n)
{
    size_t count = CountOrZero(n);
    char* text = TakeTempText(count);
    std::memset(text, ' ', count);
    return text;
}

char* TimeText(int kind)
{
    // The clock is read on every call, whatever the kind.
    time_t now = std::time(nullptr);
    return FormatTimeText(kind, std::localtime(&now));
}

char* FormatTimeText(int kind, const struct tm* when)
{
    char* text = TakeTempText(TimeTextRoom);
    // A time the C library cannot convert (null from localtime) shows as empty.
    if (when == nullptr || kind < 0 || kind >= TimeFormatCount) return text;
    char work[TimeTextRoom];
    // strftime leaves the buffer undefined when it returns 0.
    if (std::strftime(work, sizeof work, TimeFormats[kind], when) == 0) work[0] = 0;
    std::strcpy(text, work);
    return text;
}

char* CharsToText(int c1, int c2, int c3, int c4, int c5, int c6, int c7, int c8, int c9, int c10)
{
    int const codes[] = {c1, c2, c3, c4, c5, c6, c7, c8, c9, c10};
    size_t const count = sizeof codes / sizeof codes[0];
    char* text = TakeTempText(count + 1);
    unsigned char* bytes = reinterpret_cast<unsigned char*>(text);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<unsigned char>(codes[i] & 0xFF);
    return text;
}

char* JoinTexts(int count, ...)
{
    size_t total = 0;
    va_list texts;
    va_start(texts, count);
    for (int i = 0; i < count; ++i) total += std::strlen(va_arg(texts, const char*));
    va_end(texts);

    char* result = NewTempText(total);
    char* end = result;
    va_start(texts, count);
    for (int i = 0; i < count; ++i) {
        const char* text = va_arg(texts, const char*);
        size_t length = std::strlen(text);
        std::memcpy(end, text, length);
        end += length;
    }
    va_end(texts);
    return KeepTempText(result);
}

double TextToNumber(const char* text)
{
    return std::strtod(text, nullptr);
}

char* DateText(char* buffer)
{
    time_t now = std::time(nullptr);
    return FormatDateText(buffer, std::localtime(&now));
}

char* FormatDateText(char* buffer, const struct tm* when)
{
    // The caller's buffer holds 9 bytes: mm/dd/yy and the terminator.
    if (when == nullptr || std::strftime(buffer, 9, "%m/%d/%y", when) == 0) buffer[0] = 0;
    return buffer;
}
