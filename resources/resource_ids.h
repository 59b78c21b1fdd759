// Resource numbers, shared by the resource script and the code.
#pragma once

#define ResourceAppIcon 300
#define ResourceClockPicture 409
// The clock picture drawn at 150 % and 200 %, for displays at those scales.
#define ResourceClockPicture150 410
#define ResourceClockPicture200 411
// The application manifest, by the number Windows reads it under.
#define ResourceManifest 1
#define ResourceSilenceWave 600
#define ResourceAlarmWave 601
#define ResourceAboutDialog 200
