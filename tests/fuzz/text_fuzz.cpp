// Fuzzes the temporary text functions: each result must read what a plain
// model of the function says, each call must take its number of slots, and
// every text handed out must stay intact through the 2047 takes after it.
// Arguments are fuzzed texts or earlier results of any age the ring allows.
#include "support/text.h"

#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>

namespace {

// A text the ring handed out in this run, what it must read, and when.
struct HandedOut {
    const char* text;
    std::string expected;
    long long take;
};

std::deque<HandedOut> Live;  // oldest first, none older than 2047 takes
long long Takes;  // takes made by this run

void CheckIntact(const HandedOut& h)
{
    Check(std::strlen(h.text) == h.expected.size() && h.expected == h.text,
          "a text %lld takes old reads \"%s\", not \"%s\"", Takes - h.take, h.text, h.expected.c_str());
}

// Records one take by a function, checks that it took exactly one slot and
// that its result lies in that slot's buffer, and drops what the take released.
void Took(const char* name, int indexBefore, const char* result, const std::string& expected)
{
    Check(TempTextIndex == ((indexBefore + 1) & (TempTextSlots - 1)), "%s did not take exactly one slot", name);
    const char* buffer = TempText[TempTextIndex];
    Check(result >= buffer && result <= buffer + std::strlen(buffer), "%s returned a text outside its slot", name);
    ++Takes;
    while (!Live.empty() && Takes - Live.front().take > TempTextSlots - 1) Live.pop_front();
    Live.push_back({result, expected, Takes});
    CheckIntact(Live.back());
    // The oldest text still covered by the rule is the one most at risk.
    CheckIntact(Live.front());
}

// The C string of a fuzzed text: like every caller's text, it ends at its first zero.
std::string ArgumentText(FuzzedDataProvider& in)
{
    return std::string(in.ConsumeRandomLengthString(300).c_str());
}

// An argument: a fuzzed text, or an earlier result of any age still covered.
struct Argument {
    const char* text;
    std::string model;
};

Argument PickArgument(FuzzedDataProvider& in, std::deque<std::string>& owned)
{
    if (!Live.empty() && in.ConsumeBool()) {
        HandedOut const& h = Live[in.ConsumeIntegralInRange<size_t>(0, Live.size() - 1)];
        return {h.text, h.expected};
    }
    owned.push_back(ArgumentText(in));
    return {owned.back().c_str(), owned.back()};
}

bool IsBlank(char c)
{
    return c == '\t' || c == '\n' || c == '\v' || c == '\r' || c == ' ';
}

std::string TrimModel(const std::string& text)
{
    size_t begin = 0, end = text.size();
    while (end > 0 && IsBlank(text[end - 1])) --end;
    while (begin < end && IsBlank(text[begin])) ++begin;
    return text.substr(begin, end - begin);
}

// A position or count: mostly near the text's own length, else any int.
int PositionFor(FuzzedDataProvider& in, const std::string& text)
{
    if (in.ConsumeBool()) return in.ConsumeIntegral<int>();
    return in.ConsumeIntegralInRange<int>(-2, static_cast<int>(text.size()) + 2);
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

bool SameNumber(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

void FuzzLeftText(FuzzedDataProvider& in, std::deque<std::string>& owned)
{
    Argument a = PickArgument(in, owned);
    int count = PositionFor(in, a.model);
    int before = TempTextIndex;
    char* result = LeftText(a.text, count);
    // Counts below 1 keep nothing.
    std::string expected = count <= 0 ? "" : a.model.substr(0, static_cast<size_t>(count));
    Took("LeftText", before, result, expected);
}

void FuzzMidText(FuzzedDataProvider& in, std::deque<std::string>& owned)
{
    Argument a = PickArgument(in, owned);
    int start = PositionFor(in, a.model);
    int count = PositionFor(in, a.model);
    int before = TempTextIndex;
    char* result = MidText(a.text, start, count);
    std::string expected;
    long long length = static_cast<long long>(a.model.size());
    if (start >= 1 && start <= length) {
        size_t from = static_cast<size_t>(start - 1);
        expected = count < 0 ? a.model.substr(from) : a.model.substr(from, static_cast<size_t>(count));
    }
    Took("MidText", before, result, expected);
}

void FuzzTrimText(FuzzedDataProvider& in, std::deque<std::string>& owned)
{
    Argument a = PickArgument(in, owned);
    int before = TempTextIndex;
    char* result = TrimText(a.text);
    Took("TrimText", before, result, TrimModel(a.model));
}

void FuzzJoinTexts(FuzzedDataProvider& in, std::deque<std::string>& owned)
{
    int count = in.ConsumeIntegralInRange<int>(-1, 4);
    Argument a[4];
    for (int i = 0; i < count; ++i) a[i] = PickArgument(in, owned);
    int before = TempTextIndex;
    char* result = nullptr;
    switch (count) {
    case -1:
        result = JoinTexts(-1);
        break;
    case 0:
        result = JoinTexts(0);
        break;
    case 1:
        result = JoinTexts(1, a[0].text);
        break;
    case 2:
        result = JoinTexts(2, a[0].text, a[1].text);
        break;
    case 3:
        result = JoinTexts(3, a[0].text, a[1].text, a[2].text);
        break;
    default:
        result = JoinTexts(4, a[0].text, a[1].text, a[2].text, a[3].text);
        break;
    }
    std::string expected;
    for (int i = 0; i < count; ++i) expected += a[i].model;
    Took("JoinTexts", before, result, expected);
}

void FuzzCharsToText(FuzzedDataProvider& in)
{
    int c[10];
    for (int& code : c) code = in.ConsumeIntegral<int>();
    int before = TempTextIndex;
    char* result = CharsToText(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8], c[9]);
    std::string expected;
    for (int code : c) {
        if ((code & 0xFF) == 0) break;
        expected += static_cast<char>(code & 0xFF);
    }
    Took("CharsToText", before, result, expected);
}

void FuzzNumberToText(FuzzedDataProvider& in)
{
    // Any bit pattern: negative zero, subnormals, infinities, NaNs with a sign.
    uint64_t bits = in.ConsumeIntegral<uint64_t>();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    int before = TempTextIndex;
    char* result = NumberToText(value);
    std::string text = result;
    Took("NumberToText", before, result, text);
    Check(text.size() >= 2 && text.size() <= 16 + 127, "NumberToText gave \"%s\"", result);
    Check(text[0] == (std::signbit(value) ? '-' : ' '), "NumberToText of a %s value gave \"%s\"",
          std::signbit(value) ? "negative" : "positive", result);
    // Fifteen significant digits read back to within half a unit of the 15th.
    // Only the largest values, rounded up to 15 digits, lie past the largest
    // double and read back as infinity.
    double back = TextToNumber(result);
    bool close = std::isnan(value)   ? std::isnan(back)
                 : std::isinf(value) ? back == value
                 : std::isinf(back)  ? std::fabs(value) >= 1.797693134862315e308
                                     : std::fabs(back - value) <= std::fabs(value) * 1e-14 + 5e-324;
    Check(close, "NumberToText gave \"%s\", which reads back as %.17g, not %.17g", result, back, value);
}

void FuzzTextToNumber(FuzzedDataProvider& in, std::deque<std::string>& owned)
{
    Argument a = PickArgument(in, owned);
    int before = TempTextIndex;
    double value = TextToNumber(a.text);
    Check(TempTextIndex == before, "TextToNumber took a slot");
    // Blanks around a number never change it: the clock trims what it reads.
    char* trimmed = TrimText(a.text);
    Took("TrimText", before, trimmed, TrimModel(a.model));
    Check(SameNumber(TextToNumber(trimmed), value), "\"%s\" and its trimmed text read differently", a.text);
}

void FuzzCompareText(FuzzedDataProvider& in, std::deque<std::string>& owned)
{
    Argument a = PickArgument(in, owned);
    Argument b = PickArgument(in, owned);
    int before = TempTextIndex;
    int ab = CompareText(a.text, b.text);
    int ba = CompareText(b.text, a.text);
    Check(TempTextIndex == before, "CompareText took a slot");
    // std::string compares its bytes as unsigned, as the clock's texts are compared.
    int expected = Sign(a.model.compare(b.model));
    Check(ab == expected && ba == -expected, "CompareText of \"%s\" and \"%s\" gave %d and %d, not %d", a.text, b.text,
          ab, ba, expected);
}

// Takes many slots at once, as a busy stretch of the program does, so that
// runs reach the end of the texts' lifetime.
void FuzzManyTakes(FuzzedDataProvider& in)
{
    int count = in.ConsumeIntegralInRange<int>(1, TempTextSlots);
    for (int i = 0; i < count; ++i) {
        int before = TempTextIndex;
        char* text = AllocTempText(i % 4);
        Took("AllocTempText", before, text, "");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    Live.clear();
    Takes = 0;
    std::deque<std::string> owned;  // fuzzed argument texts, alive for the whole run
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange<int>(0, 8)) {
        case 0:
            FuzzLeftText(in, owned);
            break;
        case 1:
            FuzzMidText(in, owned);
            break;
        case 2:
            FuzzTrimText(in, owned);
            break;
        case 3:
            FuzzJoinTexts(in, owned);
            break;
        case 4:
            FuzzCharsToText(in);
            break;
        case 5:
            FuzzNumberToText(in);
            break;
        case 6:
            FuzzTextToNumber(in, owned);
            break;
        case 7:
            FuzzCompareText(in, owned);
            break;
        default:
            FuzzManyTakes(in);
            break;
        }
    }
    for (HandedOut const& h : Live) CheckIntact(h);
    return 0;
}
