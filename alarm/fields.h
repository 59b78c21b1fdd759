// The alarm-time fields: normalising their texts and composing the alarm time.
#pragma once

#include <windows.h>

void NormalizeHoursField(HWND field);
void NormalizeMinSecField(HWND field);
// Rebuilds AlarmTimeText from the three field texts as they stand.
void ComposeAlarmTime();
