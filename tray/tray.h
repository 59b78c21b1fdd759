// The tray icon, its menu, the About box and the one shutdown routine.
#pragma once

// Stops the clock and the sound, destroys the form and ends the program.
void ExitApplication();
