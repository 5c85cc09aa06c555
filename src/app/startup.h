// Decisions of the start-up sequence, as plain functions.
#pragma once

#include <wx/string.h>

// Steps the splash gauge runs through: one per status update of the sequence.
int SplashGaugeRange(bool dontCheckStandby, bool tvProviders, bool raProviders);

struct WebIFVersion {
    int major = 0, minor = 0, patch = 0;
    // The oldest web interface whose replies the program understands: 1.6.2.
    // Compared part by part, so "1.256" is newer, not "1.0".
    bool tooOld() const
    {
        return major != 1 ? major < 1 : minor != 6 ? minor < 6 : patch < 2;
    }
};
WebIFVersion ParseWebIFVersion(const wxString& text);

struct DeviceInfo {
    bool valid = false;   // root element was "e2deviceinfo"
    wxString model;       // e2devicename
    wxString version;     // e2webifversion
};
DeviceInfo ParseDeviceInfo(const wxString& xml);
