// Resource numbers, shared by the resource script and the code.
#pragma once

#define ResourceAppIcon 300
#define ResourceClockPicture 409
#define ResourceSilenceWave 600
#define ResourceAlarmWave 601
#define ResourceAboutDialog 200
