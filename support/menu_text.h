// Menu item texts made from button captions. Portable code, no <windows.h>.
#pragma once

// The caption with an ampersand before its first letter that is the key,
// matched whatever its case, so the item answers that key whichever caption
// it shows ("Stop" with T is "S&top"). A caption without the key is left as
// it is; an ampersand in the caption is doubled, so it shows as itself.
// A temporary text.
char* MenuTextWithKey(const char* caption, char key);
