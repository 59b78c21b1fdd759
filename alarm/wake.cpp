// Waking a sleeping computer for the alarm, and keeping it awake while the
// alarm is due and while it rings.
#include "alarm/wake.h"

#include "alarm/alarm.h"
#include "alarm/wake_time.h"

// _tzset is declared by the C header only.
#include <time.h>

HANDLE WakeTimer;

// What the program last asked of SetThreadExecutionState; written by UpdateStayAwake and ReleaseStayAwake.
static AwakeRequest StayAwakeAsked = AwakeRequest::Nothing;

namespace {

// FILETIME counts 100 ns steps from 1601; calendar seconds count from 1970.
long long const FileTimeOfEpoch = 116444736000000000LL;
long long const FileTimeStepsPerSecond = 10000000LL;

EXECUTION_STATE ExecutionStateOf(AwakeRequest request)
{
    switch (request) {
    case AwakeRequest::System:
        return ES_CONTINUOUS | ES_SYSTEM_REQUIRED;
    case AwakeRequest::SystemAndDisplay:
        return ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED;
    case AwakeRequest::Nothing:
        break;
    }
    return ES_CONTINUOUS;
}

}  // namespace

void CreateWakeTimer()
{
    // Manual reset: the timer stays signalled, which nobody minds, as nothing waits on it.
    WakeTimer = CreateWaitableTimerA(NULL, TRUE, NULL);
}

void SetWakeTimer()
{
    long long now = static_cast<long long>(time(NULL));
    long long next = AlarmArmed == 1 ? NextAlarmOccurrence(AlarmTimeText, now) : NoOccurrence;
    if (next == NoOccurrence) {
        CancelWaitableTimer(WakeTimer);
        return;
    }
    // A positive due time is absolute, so a change of the clock does not move it.
    LARGE_INTEGER due;
    due.QuadPart = WakeMoment(next, now) * FileTimeStepsPerSecond + FileTimeOfEpoch;
    // Where the power plan forbids wake timers this still succeeds (ERROR_NOT_SUPPORTED)
    // and the clock rings as before whenever the computer is awake; nothing to report.
    SetWaitableTimer(WakeTimer, &due, 0, NULL, NULL, TRUE);
}

void OnSystemTimeChange()
{
    // The C library keeps the time zone it read first; a new one is read here.
    _tzset();
    SetWakeTimer();
}

void UpdateStayAwake()
{
    long long secondsToGo = NoOccurrence;
    if (AlarmArmed == 1) {
        long long now = static_cast<long long>(time(NULL));
        long long next = NextAlarmOccurrence(AlarmTimeText, now);
        if (next != NoOccurrence) secondsToGo = next - now;
    }
    AwakeRequest wanted = StayAwakeRequest(AlarmArmed == 1, secondsToGo, AlarmRinging == 1);
    if (wanted == StayAwakeAsked) return;
    StayAwakeAsked = wanted;
    SetThreadExecutionState(ExecutionStateOf(wanted));
}

void ReleaseStayAwake()
{
    StayAwakeAsked = AwakeRequest::Nothing;
    SetThreadExecutionState(ES_CONTINUOUS);
}
