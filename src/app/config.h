// The one settings record of the program and its file "zappora.cfg".
#pragma once

#include <functional>

#include <wx/string.h>

struct ZPPROFILE {
    wxString name;
    wxString host;
    wxString user;
    wxString pass;
    long wport = 0;   // web interface
    long sport = 0;   // live streams
    int https = 0;
};

struct ZPPROXY {
    wxString host;
    wxString user;
    wxString pass;
    long port = 0;
};

struct ZPCONFIG {
    int profiles = 0;            // number of valid profiles, packed at the front
    long profile_active = 0;
    wxString language;           // GENERAL/Language
    wxString audiolanguage;      // GENERAL/AudioLanguage
    wxString translator;         // from the catalogue header
    wxString timerdir;           // TIMER/Dir
    wxString timertag;           // TIMER/Tag
    wxString recdir;             // GENERAL/RecDir
    wxString excludedir;         // GENERAL/ExcludeDir
    wxString videosink;          // GENERAL/VideoSink
    int epgsimilar = 0;          // GENERAL/EPGSimilar
    int tvproviders = 0;         // GENERAL/TVProviders
    int raproviders = 0;         // GENERAL/RAProviders
    int volume = 0;              // GENERAL/Volume
    int deinterlacer = 0;        // GENERAL/Deinterlacer
    int deinterlacermethod = 0;  // GENERAL/DeinterlacerMethod
    int tvcontrol = 0;           // GENERAL/TVControl
    int expertmode = 0;          // GENERAL/ExpertMode
    int tooltips = 0;            // GENERAL/Tooltips
    int onlineupdate = 0;        // GENERAL/OnlineUpdate
    int mainwin_x = 0, mainwin_y = 0, mainwin_w = 0, mainwin_h = 0;      // MAINWINDOW/*
    int videowin_x = 0, videowin_y = 0, videowin_w = 0, videowin_h = 0;  // VIDEOWINDOW/*
    double lband = 0, mband = 0, hband = 0;                // AVPARAMETER/LBand, MBand, HBand
    double brightness = 0, contrast = 0, color = 0;        // AVPARAMETER/Brightness, Contrast, Color
    int rctype = 0, rcinterval = 0, rcmode = 0, rcquality = 0, rcresolution = 0;  // REMOTECONTROL/*
    int sortmode = 0;            // GENERAL/SortMode
    long skiptime = 0;           // GENERAL/SkipTime
    int rezap = 0;               // GENERAL/Rezap
    int streambuffer = 0;        // GENERAL/StreamBuffer
    long streambuffertime = 0;   // GENERAL/StreamBufferTime
    int srcport = 0;             // SRCSERVER/Port
    int pipposition = 0;         // PIP/Position
    int pipsize = 0;             // PIP/Size
    int pipoffset = 0;           // PIP/Offset
    double pipalpha = 0;         // PIP/Alpha
    ZPPROFILE profile[10];
    ZPPROXY proxy;
    bool proxyvalid = false;
    bool proxymode = false;      // PROXY/Mode

    // Set when the settings changed or removed the profile of the receiver the
    // program talks to: it keeps talking to that receiver, as it was reached,
    // until another profile is chosen (SelectProfile).
    bool keepConnection = false;
    ZPPROFILE connection;

    // The receiver the program talks to (only meaningful while profiles > 0).
    const ZPPROFILE& active() const { return keepConnection ? connection : profile[profile_active]; }
    // Makes profile `index` the one to talk to (start, profile switch).
    void SelectProfile(long index)
    {
        profile_active = index;
        keepConnection = false;
    }
};

extern ZPCONFIG config;

// Loads "zappora.cfg" (writing a default file when there is none); returns the
// number of valid profiles.
int GetConfig();
// Writes the record; with reset, loads the factory defaults first. Returns
// false when the file could not be written (the previous file stays intact).
bool SetConfig(bool reset);
// Where "lng", "hlp" and "pic" are: beside the executable (a build tree),
// else in ../share/zappora (an installed program); BIN_PATH holds it.
wxString ProgramDataDir(const wxString& exeDir, const std::function<bool(const wxString&)>& dirExists);

// "1234567" -> "1.234.567"
wxString SeparateValue(const wxString& digits);
