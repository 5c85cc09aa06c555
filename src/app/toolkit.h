// How the program sets the toolkit up around its own main: the display
// backend before GTK starts, and what becomes of a failed toolkit check.
#pragma once

#include <wx/string.h>

// The video sink needs an X window: unless the user chose a backend through
// GDK_BACKEND, GTK is made to use X11 (XWayland on a Wayland desktop).
// Call before the toolkit initialises.
void ForceX11Backend();
// The backend GTK really uses and how it was chosen, for the log.
wxString GdkBackendDescription();

// Release builds: a failed toolkit check is logged instead of opening a
// dialog in front of the user.
void LogToolkitAsserts();
