// The editor keeps nothing between runs. Qt's own file dialog would store its history, last
// folder and layout in the user's QtProject.conf and read them back at the next start.
#pragma once

// Routes Qt's user settings to a folder inside the program's read-only resources: nothing can
// be created there, so nothing is written anywhere, and nothing is read back. The program
// itself stores no settings; call this before the first file dialog exists.
void keepNoSettings();
