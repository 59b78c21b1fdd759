// The alarm commands: arming, testing and stopping, snoozing, and the date box.
#include "alarm/commands.h"

#include "alarm/alarm.h"
#include "alarm/fields.h"
#include "alarm/snooze.h"
#include "alarm/sound.h"
#include "alarm/volume.h"
#include "alarm/wake.h"
#include "app/globals.h"
#include "app/window_menu.h"
#include "resources/resource_ids.h"
#include "support/control_text.h"
#include "support/text.h"

// The date part of the date box's text; only ShowDateTime writes it.
static char DateBoxDateText[TextVariableSize];

namespace {

// Captions are the program's record of what plays: "Stop" while a sound loops.
bool CaptionReads(HWND button, const char* caption)
{
    return CompareText(TrimText(GetControlText(button)), caption) == 0;
}

}  // namespace

void ToggleAlarm()
{
    // The sound is left alone: turning the alarm off does not silence it.
    AlarmArmed = AlarmArmed == 0 ? 1 : 0;
    SetCommandCaption(AlarmButton, AlarmArmed == 1 ? "Alarm On" : "Alarm Off");
    SetWakeTimer();
    SetFocus(PictureLabel);
}

void TestOrStop()
{
    if (CaptionReads(TestButton, "Stop")) {
        // The silence played once replaces the loop.
        PlayWaveResource(ResourceSilenceWave, 0);
        RestoreOutputAfterRing();
        AlarmRinging = 0;
        UpdateStayAwake();
        SetCommandCaption(TestButton, "Test");
    } else {
        SetCommandCaption(TestButton, "Stop");
        PlayWaveResource(ResourceAlarmWave, 1);
        RaiseOutputForRing();
    }
    SetFocus(PictureLabel);
}

void SnoozeAlarm()
{
    if (AlarmRinging == 1) {
        ClockTime moved = SnoozedAlarmTime(ClockTimeOfText(AlarmTimeText), ClockTimeOfText(TimeText(0)));
        SetControlText(HoursField, NumberToText(moved.hours));
        SetControlText(MinutesField, NumberToText(moved.minutes));
        SetControlText(SecondsField, NumberToText(moved.seconds));
        // NumberToText puts a blank before each number; the normalisers take
        // it off and pad to two digits.
        NormalizeHoursField(HoursField);
        NormalizeMinSecField(MinutesField);
        NormalizeMinSecField(SecondsField);
        ComposeAlarmTime();
        if (CaptionReads(TestButton, "Stop")) {
            PlayWaveResource(ResourceSilenceWave, 0);
            RestoreOutputAfterRing();
            SetCommandCaption(TestButton, "Test");
            AlarmRinging = 0;
            UpdateStayAwake();
        }
    }
    SetFocus(PictureLabel);
}

void ShowDateTime()
{
    HWND owner = GetActiveWindow();
    char* text = JoinTexts(3, DateText(DateBoxDateText), " ", TimeText(0));
    // Modal, but its loop keeps dispatching the clock's ticks.
    MessageBoxA(owner, text, "", MB_OK);
}

void OnHourColonClick() {}

void OnMinuteColonClick() {}

void OnFormMouseDown(int, int, int, int) {}

void OnFormMouseUp(int, int, int, int) {}
