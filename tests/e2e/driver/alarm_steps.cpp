// Steps around a ringing alarm.
#include "alarm_steps.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

AlarmClock StartClockBeforeSix(Sound sound)
{
    AlarmClock alarm;
    alarm.offset = OffsetBringingTimeSoon(6, 0, 0, NowMs());
    alarm.alarmMs = NextLocalMoment("06:00:00", alarm.offset, NowMs());
    alarm.clock = StartClock({TimeZoneFor(alarm.offset)}, "", sound);
    return alarm;
}

bool WaitForRing(AlarmClock& alarm)
{
    DWORD wait = static_cast<DWORD>(alarm.alarmMs - NowMs() + 5000);
    return WaitForText(Control(alarm, TestButtonIndex), "Stop", wait);
}

HWND Control(const AlarmClock& alarm, size_t creationIndex)
{
    return ControlAt(alarm.clock.form, creationIndex);
}

std::string FieldsText(HWND form)
{
    return TextOf(ControlAt(form, HoursFieldIndex)) + ":" + TextOf(ControlAt(form, MinutesFieldIndex)) + ":" +
           TextOf(ControlAt(form, SecondsFieldIndex));
}

std::string ShiftedTime(const std::string& timeText, int seconds)
{
    int h = 0, m = 0, s = 0;
    sscanf(timeText.c_str(), "%d:%d:%d", &h, &m, &s);
    return LocalTimeText((h * 3600LL + m * 60 + s + seconds) * 1000, 0);
}

std::string LocalDateText(long long ms, int offsetSeconds)
{
    // Civil date from a day number (days since 1970-01-01), for the Gregorian calendar.
    long long z = (ms / 1000 + offsetSeconds) / 86400 + 719468;
    long long era = z / 146097, dayOfEra = z - era * 146097;
    long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    long long mp = (5 * dayOfYear + 2) / 153;
    int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    char text[16];
    snprintf(text, sizeof text, "%02d/%02d/%02d", month, day, static_cast<int>(year % 100));
    return text;
}

bool WaitForText(HWND window, const std::string& text, DWORD timeoutMs)
{
    return WaitFor([&] { return TextOf(window) == text; }, timeoutMs);
}

long long Click(HWND form, HWND control)
{
    BringToFront(form);
    ClickControl(control);
    return LastButtonsSentMs();
}

bool CaptureUntil(Capture& capture, long long ms)
{
    // Reading the whole capture is slow, so it is read once the moment has come.
    if (!WaitFor([&] { return NowMs() > ms + 50; }, static_cast<DWORD>(ms - NowMs() + 1000))) return false;
    return WaitFor([&] { return ReadCapture(capture) && CaptureEndMs(capture) >= ms; }, 5000);
}

long long LastLoudMs(const Capture& capture, long long fromMs, long long toMs, int level)
{
    long long last = -1;
    for (size_t i = 0; i < capture.samples.size(); ++i) {
        long long at = capture.startMs + static_cast<long long>(i) * 1000 / CaptureRate;
        if (at >= toMs) break;
        if (at >= fromMs && std::abs(capture.samples[i]) > level) last = at;
    }
    return last;
}

::testing::AssertionResult Heard(const Capture& capture, long long fromMs, long long toMs)
{
    for (long long at = fromMs; at + 390 <= toMs; at += 390)
        if (RmsBetween(capture, at, at + 390) < HeardRms)
            return ::testing::AssertionFailure() << "quiet " << at - fromMs << " ms in";
    double frequency = DominantFrequency(capture, fromMs, std::min(toMs, fromMs + 800));
    if (std::fabs(frequency - 800) > 20) return ::testing::AssertionFailure() << frequency << " Hz";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Silent(const Capture& capture, long long fromMs, long long toMs)
{
    double rms = RmsBetween(capture, fromMs, toMs);
    if (rms >= SilentRms) return ::testing::AssertionFailure() << "rms " << rms;
    return ::testing::AssertionSuccess();
}
