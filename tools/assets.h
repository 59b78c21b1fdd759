// The program's embedded assets, drawn and encoded without any platform API,
// so the files in resources/ can be remade byte for byte on any machine.
#pragma once

#include "byte_writer.h"

// RIFF WAVE images: 514 samples of 8-bit silence, and the 0.39 s alarm tone.
Bytes MakeSilenceWave();
Bytes MakeAlarmWave();

// The clock picture as a 24-bit BMP file; the resource compiler drops its
// 14-byte file header and embeds the DIB that follows.
Bytes MakeClockBitmapFile();

// The bell as an .ico file of 12 images (4, 8 and 24 bits per pixel).
Bytes MakeBellIcon();
