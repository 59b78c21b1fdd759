// The one way a fuzz target reports a broken property: the reason on stderr,
// then abort, which libFuzzer records as a crash with the input that caused it.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
inline void
Check(bool holds, const char* format, ...)
{
    if (holds) return;
    std::va_list arguments;
    va_start(arguments, format);
    std::fputs("property broken: ", stderr);
    std::vfprintf(stderr, format, arguments);
    std::fputs("\n", stderr);
    va_end(arguments);
    std::abort();
}
