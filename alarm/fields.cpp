// The alarm-time fields.
#include "alarm/fields.h"

#include "alarm/alarm.h"
#include "alarm/field_text.h"
#include "app/globals.h"
#include "support/control_text.h"
#include "support/text.h"

#include <cstdio>

void NormalizeHoursField(HWND field)
{
    SetControlText(field, NormalizedFieldText(GetControlText(field), HoursBound));
}

void NormalizeMinSecField(HWND field)
{
    SetControlText(field, NormalizedFieldText(GetControlText(field), MinutesSecondsBound));
}

void ComposeAlarmTime()
{
    // Each GetControlText result is a temporary text that outlives this call.
    char* hours = GetControlText(HoursField);
    char* minutes = GetControlText(MinutesField);
    char* seconds = GetControlText(SecondsField);
    snprintf(AlarmTimeText, sizeof AlarmTimeText, "%s%s%s%s%s%s", hours, ":", minutes, ":", seconds,
             CharsToText(0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
}
