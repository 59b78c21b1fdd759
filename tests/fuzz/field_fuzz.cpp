// Fuzzes the alarm-field normaliser with any text a paste can bring: the
// result is always two digits from 00 to the bound, normalising it again
// changes nothing, and blanks before a text do not change its result.
#include "alarm/field_text.h"

#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    int const bound = in.ConsumeBool() ? HoursBound : MinutesSecondsBound;
    std::string const text = in.ConsumeRemainingBytesAsString();
    const char* field = text.c_str();

    std::string const once = NormalizedFieldText(field, bound);
    bool twoDigits = once.size() == 2 && once[0] >= '0' && once[0] <= '9' && once[1] >= '0' && once[1] <= '9';
    Check(twoDigits, "\"%s\" became \"%s\"", field, once.c_str());
    int value = (once[0] - '0') * 10 + (once[1] - '0');
    Check(value <= bound, "\"%s\" became %s, above %d", field, once.c_str(), bound);

    std::string const twice = NormalizedFieldText(once.c_str(), bound);
    Check(twice == once, "\"%s\" became \"%s\", then \"%s\"", field, once.c_str(), twice.c_str());

    std::string const indented = NormalizedFieldText((" \t" + std::string(field)).c_str(), bound);
    Check(indented == once, "\"%s\" became \"%s\", but with blanks before it \"%s\"", field, once.c_str(),
          indented.c_str());
    return 0;
}
