// Process-wide state shared by the windows, the request layer and the
// streaming engine. Everything here lives on the GUI thread unless noted.
#pragma once

#include <wx/string.h>
#include <wx/event.h>

class MyApp;
class MyMainFrame;
class MyVideoFrame;
class MyFullscreenFrame;
class MyLogFrame;
class MySplashFrame;
class MyTaskBarIcon;
class wxSingleInstanceChecker;

extern wxString BIN_PATH;   // program data ("lng", "hlp", "pic"): beside the executable or ../share/zappora; trailing separator
extern wxString CFG_PATH;   // ~/.zappora/, trailing separator

extern wxSingleInstanceChecker* checker;
extern bool runConfig;
extern bool cmd_verbose;
extern bool cmd_logfile;
extern bool compatibility;
extern bool DontCheckStandby;
extern wxLongLong_t startMode;
extern wxString gstdebug;
extern wxString override_sref;

extern bool SplashIsActive;
extern bool SplashHasError;

extern MyMainFrame* MainFrame;
extern MyVideoFrame* VideoFrame;
extern MyFullscreenFrame* FullscreenFrame;
extern MyLogFrame* LogFrame;
extern MySplashFrame* SplashFrame;
extern MyTaskBarIcon* TaskBarIcon;

// Application-wide key event: id = key code (see MyApp::FilterEvent).
wxDECLARE_EVENT(wxEVT_KEY, wxCommandEvent);
// Pipeline, bit-rate, download and log notifications to the main window.
wxDECLARE_EVENT(wxEVT_GST, wxCommandEvent);
