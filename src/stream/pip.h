// Picture-in-picture: the second stream mixed into the main picture.
#pragma once

#include <gst/gst.h>
#include <wx/string.h>

extern GstElement* videomixer;
extern GstElement* videobox;
extern wxString PiPsRef;      // service of the PiP picture
extern bool restorepip;       // PiP existed when the main stream was stopped

// Starts PiP with a service; false when the receiver refuses it.
bool PiPInit(const wxString& sRef);
// Ends PiP (nothing to do while none runs).
void PiPExit();
