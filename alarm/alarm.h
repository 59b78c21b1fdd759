// Alarm state and the clock tick that shows the time and triggers the alarm.
#pragma once

#include "app/globals.h"

// Alarm state; nothing keeps it between runs.
extern int AlarmArmed;  // 1: armed, the tick compares; 0: off. Set by BuildMainForm, ToggleAlarm
extern int AlarmRinging;  // 1 while a triggered alarm sounds; cleared by stop and snooze
extern int CommitCountdown;  // ticks until edited fields are committed; 0: none pending
extern char AlarmTimeText[TextVariableSize];  // armed time HH:MM:SS, written by ComposeAlarmTime

// Sets the clock timer to fire just after the next second boundary.
void ArmClockTimer();
void OnClockTick();
void CheckAlarm();
void StartRinging();
