// The command line of the program: what it asks for, decided without side
// effects, and applied to the process-wide switches separately.
#pragma once

#include <vector>
#include <wx/arrstr.h>
#include <wx/string.h>

struct StartBox {
    wxString text;
    long style;
};

struct CmdLineResult {
    bool end = false;            // help or parse error: show `boxes`, then end
    std::vector<StartBox> boxes; // in the order they are shown
    bool verbose = false;        // -v
    bool logfile = false;        // -l
    bool runConfig = false;      // -c
    bool fallback = false;       // -f
    bool dontCheckStandby = false;  // -n, or a non-empty -o
    bool rebuild = false;        // -r
    long activeProfile = 0;      // -s n -> n-1, checked against the profile count
    long long startMode = 0;     // -m, 0..3
    wxString gstdebug;           // -d, empty when not given
    wxString overrideSRef;       // -o
};

// The help text of -h.
wxString CommandLineHelp();

// args[0] is the program name. profileCount is the number of usable
// profiles (at least 1).
CmdLineResult EvaluateCommandLine(const wxArrayString& args, int profileCount);

// Removes every "registry.*" file in dir; true when the last removal
// succeeded, false when one failed last or there was none.
bool RemoveGstRegistry(const wxString& dir);

// Sets the switches, truncates the request dump, clears the registry and
// shows the boxes. Returns false when the program must end.
bool ApplyCommandLine(const CmdLineResult& result);
