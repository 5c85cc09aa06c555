// The few places where the program meets the desktop in ways a test must
// be able to intercept: modal boxes, the GStreamer registry location and
// powering off the machine.
#pragma once

#include <functional>
#include <wx/string.h>

class wxWindow;

// Every message box and Yes/No question of the program goes through here.
// style takes wxICON_* and wxYES_NO/wxOK flags; returns wxYES, wxNO, wxOK or
// wxCANCEL like wxMessageBox.
int ZPMessageBox(const wxString& text, long style, wxWindow* parent = nullptr,
                 const wxString& caption = wxT("Zappora E2"));

using MessageBoxHandler =
    std::function<int(const wxString& caption, const wxString& text, long style)>;
// Replaces the box (nullptr restores the real one); returns the previous handler.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// Directory that holds GStreamer's "registry.*" files.
wxString GstRegistryDir();
void SetGstRegistryDirOverride(const wxString& dir);  // empty restores the default

// Switches the machine off; returns false when the request failed.
bool PowerOff();
using PowerOffHandler = std::function<bool()>;
PowerOffHandler SetPowerOffHandler(PowerOffHandler handler);
