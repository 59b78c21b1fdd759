// How long the soak's scripted day lasts: 60 s unless the driver is started
// with --soak SECONDS.
#pragma once

extern int SoakSeconds;
