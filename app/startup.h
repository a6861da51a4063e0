// Start-up and end of the program, in this order: file type, application object with its
// menu bar, the application's menu handlers, the main window; then the event loop until
// "Esci". Files named on the command line or dropped on the program's icon are not converted.
#pragma once

// Runs _Startup, then the event loop; returns the exit code. A failure in start-up is shown
// and ends the program (1); one that escapes the event loop is shown and ends it as a quit.
int _Main();
void _Startup();
void _InitFileTypes();
// Makes App, gives it the shared MenuBar1 and registers it as the application object.
void _NewAppInstance();
// "ArchivioAbout" and "Aprifile" on the application object.
void _ApplicationAddMenuHandlers();
// Makes the main window, which its layout puts on screen.
void _MakeDefaultView();

// After the event loop: closes the windows left open and lets go of the menu bar, the file
// type and the application object.
void releaseProgramObjects();
