// Decisions of the start-up sequence, as plain functions.
#pragma once

#include <wx/string.h>

// Steps the splash gauge runs through: one per status update of the sequence.
int SplashGaugeRange(bool dontCheckStandby, bool tvProviders, bool raProviders);

struct WebIFVersion {
    int major = 0, minor = 0, patch = 0;
    long packed() const { return (long(major) << 16) | (long(minor) << 8) | long(patch); }
    // The oldest web interface whose replies the program understands: 1.6.2.
    bool tooOld() const { return packed() < 67074; }
};
WebIFVersion ParseWebIFVersion(const wxString& text);

struct DeviceInfo {
    bool valid = false;   // root element was "e2deviceinfo"
    wxString model;       // e2devicename
    wxString version;     // e2webifversion
};
DeviceInfo ParseDeviceInfo(const wxString& xml);
