// The once-a-second clock tick: the clock label, the idle commit of edited
// fields and the alarm trigger.
#include "alarm/alarm.h"

#include "alarm/fields.h"
#include "alarm/sound.h"
#include "alarm/trigger.h"
#include "alarm/volume.h"
#include "alarm/wake.h"
#include "app/control_ids.h"
#include "app/main_form.h"
#include "app/window_menu.h"
#include "resources/resource_ids.h"
#include "support/control_text.h"
#include "support/text.h"

#include <ctime>

int AlarmArmed;
int AlarmRinging;
int CommitCountdown;
char AlarmTimeText[TextVariableSize];

// The last calendar second compared with the alarm time, so that each second
// is compared exactly once however the ticks fall; written only by CheckAlarm.
static CheckedSeconds AlarmCheckedSeconds;

void ArmClockTimer()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks;
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    int millisecondsIntoSecond = static_cast<int>((ticks.QuadPart / 10000) % 1000);
    // Re-arming with the same id replaces the timer; a free-running 1000 ms
    // timer would drift through the second and step over one now and then.
    SetTimer(MainForm, ClockTimerId, ClockTimerDelay(millisecondsIntoSecond), NULL);
}

void OnClockTick()
{
    ArmClockTimer();
    // The C runtime reads the time zone once unless asked again; asked every
    // tick, a zone the user or a travelling laptop changes shows at once, and
    // the alarm compares against it too.
    _tzset();
    SetControlText(ClockLabel, TimeText(0));
    if (CommitCountdown == 1) {
        NormalizeHoursField(HoursField);
        NormalizeMinSecField(MinutesField);
        NormalizeMinSecField(SecondsField);
        SetFocus(PictureLabel);
        ComposeAlarmTime();
    }
    if (CommitCountdown > 0) CommitCountdown -= 1;
    CheckAlarm();
    UpdateStayAwake();
}

void CheckAlarm()
{
    if (TickFindsAlarmTime(AlarmCheckedSeconds, time(NULL), AlarmArmed == 1, AlarmTimeText)) StartRinging();
}

void StartRinging()
{
    if (AlarmArmed != 1) return;
    PlayWaveResource(ResourceAlarmWave, 1);
    AlarmRinging = 1;
    BringFormToFront();
    SetFocus(MainForm);
    if (CompareText(TrimText(GetControlText(TestButton)), "Test") == 0) SetCommandCaption(TestButton, "Stop");
    // The second just rung is behind us: the timer goes to the next day's.
    SetWakeTimer();
    // Last, so that neither the tone nor the form waits on the output.
    RaiseOutputForRing();
}
