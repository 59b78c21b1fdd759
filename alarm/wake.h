// Waking a sleeping computer for the alarm, and keeping it awake while the
// alarm is due and while it rings.
#pragma once

#include <windows.h>

// Created once by CreateWakeTimer while the form is built, kept until the
// process ends. Nothing waits on it: it only brings the computer out of
// sleep, and the clock tick rings as usual.
extern HANDLE WakeTimer;

void CreateWakeTimer();
// Sets the wake timer for the armed alarm, or cancels it when the alarm is
// off or its time is no time of day; called whenever the alarm may have changed.
void SetWakeTimer();
// The system's clock, its time zone or its power state changed.
void OnSystemTimeChange();
// Asks the system to stay awake, or lets it sleep, as the alarm now needs;
// the clock tick calls it once a second.
void UpdateStayAwake();
// Lets the system sleep again, on exit.
void ReleaseStayAwake();
