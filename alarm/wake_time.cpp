// When to wake a sleeping computer for the alarm, and when to keep it awake.
#include "alarm/wake_time.h"

#include "support/text.h"

#include <cstring>
#include <ctime>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads "HH:MM:SS" with each part in range; false for anything else.
bool ReadTimeOfDay(const char* text, int& hours, int& minutes, int& seconds)
{
    if (std::strlen(text) != 8 || text[2] != ':' || text[5] != ':') return false;
    int const digitPlaces[] = {0, 1, 3, 4, 6, 7};
    for (int place : digitPlaces)
        if (!IsDigit(text[place])) return false;
    hours = (text[0] - '0') * 10 + (text[1] - '0');
    minutes = (text[3] - '0') * 10 + (text[4] - '0');
    seconds = (text[6] - '0') * 10 + (text[7] - '0');
    return hours <= 23 && minutes <= 59 && seconds <= 59;
}

// Whether the local clock at second reads the time text, compared as the tick compares it.
bool LocalClockReads(long long second, const char* timeText)
{
    time_t moment = static_cast<time_t>(second);
    struct tm* local = std::localtime(&moment);
    return local != nullptr && CompareText(TrimText(FormatTimeText(0, local)), timeText) == 0;
}

// Summer time moves the clock by at most two hours; mktime's guess for a time
// near a change may lie on either side of it.
int const ChangeSteps = 4;
long long const ChangeStep = 30 * 60;

}  // namespace

long long NextAlarmOccurrence(const char* alarmTime, long long now)
{
    char* text = TrimText(alarmTime);
    int hours, minutes, seconds;
    if (!ReadTimeOfDay(text, hours, minutes, seconds)) return NoOccurrence;
    time_t nowMoment = static_cast<time_t>(now);
    struct tm* local = std::localtime(&nowMoment);
    if (local == nullptr) return NoOccurrence;
    struct tm today = *local;
    // Today, tomorrow, and further days when the time is skipped on one of them.
    for (int day = 0; day <= 3; ++day) {
        struct tm wanted = today;
        wanted.tm_mday += day;
        wanted.tm_hour = hours;
        wanted.tm_min = minutes;
        wanted.tm_sec = seconds;
        wanted.tm_isdst = -1;
        time_t guess = std::mktime(&wanted);
        if (guess == static_cast<time_t>(-1)) continue;
        long long found = NoOccurrence;
        for (int step = -ChangeSteps; step <= ChangeSteps; ++step) {
            long long second = static_cast<long long>(guess) + step * ChangeStep;
            if (second > now && (found == NoOccurrence || second < found) && LocalClockReads(second, text))
                found = second;
        }
        if (found != NoOccurrence) return found;
    }
    return NoOccurrence;
}

long long WakeMoment(long long occurrence, long long now)
{
    return occurrence - WakeLead > now ? occurrence - WakeLead : occurrence;
}

AwakeRequest StayAwakeRequest(bool armed, long long secondsToGo, bool ringing)
{
    if (ringing) return AwakeRequest::SystemAndDisplay;
    if (armed && secondsToGo != NoOccurrence && secondsToGo <= StayAwakeSeconds) return AwakeRequest::System;
    return AwakeRequest::Nothing;
}
