// The program's embedded assets, drawn and encoded without any platform API,
// so the files in resources/ can be remade byte for byte on any machine.
#pragma once

#include "byte_writer.h"

// RIFF WAVE images: 514 samples of 8-bit silence, and the 0.39 s alarm tone.
Bytes MakeSilenceWave();
Bytes MakeAlarmWave();

// The clock picture as a 24-bit BMP file; the resource compiler drops its
// 14-byte file header and embeds the DIB that follows. The same drawing at
// 150 % and 200 %, for displays at those scales: 353 x 165 and 470 x 220.
Bytes MakeClockBitmapFile();
Bytes MakeClockBitmapFile150();
Bytes MakeClockBitmapFile200();

// The bell as an .ico file of 12 images (4, 8 and 24 bits per pixel).
Bytes MakeBellIcon();
