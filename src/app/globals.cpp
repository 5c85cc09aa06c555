#include "app/globals.h"

wxString BIN_PATH;
wxString CFG_PATH;

wxSingleInstanceChecker* checker = nullptr;
bool runConfig = false;
bool cmd_verbose = false;
bool cmd_logfile = false;
bool compatibility = false;
bool DontCheckStandby = false;
wxLongLong_t startMode = 0;
wxString gstdebug;
wxString override_sref;

bool SplashIsActive = false;
bool SplashHasError = false;

MyMainFrame* MainFrame = nullptr;
MyVideoFrame* VideoFrame = nullptr;
MyFullscreenFrame* FullscreenFrame = nullptr;
MyLogFrame* LogFrame = nullptr;
MySplashFrame* SplashFrame = nullptr;
MyTaskBarIcon* TaskBarIcon = nullptr;

wxDEFINE_EVENT(wxEVT_KEY, wxCommandEvent);
wxDEFINE_EVENT(wxEVT_GST, wxCommandEvent);
