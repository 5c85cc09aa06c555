// Log lines from GStreamer's streaming threads reach the log on the GUI
// thread as wxEVT_GST events with id GST_EVENT_LOG.
#pragma once

#include <wx/string.h>

class wxCommandEvent;

enum { GST_EVENT_LOG = 10 };

// level: 0 information, 1 warning, 2 error, 3 verbose. Callable from any
// thread; copies the text and returns at once. The event goes to the main
// window, or to the application object while there is none.
void GSTLog(int level, const char* text);

// GUI-thread side of a GST_EVENT_LOG event: logs the text and frees the copy
// carried in the client data.
void LogGstEvent(wxCommandEvent& event);

// "ERR [element#message#debug]" -> "GSTR ERR [element: message => debug]"
wxString FormatGstProblem(const wxString& text);
