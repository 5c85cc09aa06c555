// Creation of the long-lived top-level windows other than the log window
// (splash, main, video and full-screen windows, tray icon), in start-up order.
#pragma once

// Sets the global window pointers and makes the main window the application's
// top window; none is shown. Returns false when the main window could not be built.
bool CreateTopLevelWindows();
