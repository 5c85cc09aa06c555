// The configuration file itself, addressed by path so that the record can be
// loaded and saved anywhere (GetConfig/SetConfig use "zappora.cfg" in CFG_PATH).
#pragma once

#include <wx/string.h>
#include "app/config.h"

// Factory defaults; leaves alone what a reset does not touch (remote-control
// type, PiP alpha, main-window geometry, proxy, profiles 2..10, count).
void ResetConfig(ZPCONFIG& cfg);

// Range corrections applied after reading.
void ClampConfig(ZPCONFIG& cfg);

// Reads `file` into `cfg` (missing keys and unparsable numbers take their
// defaults) and returns the number of usable profiles. Sets `ximagesink`
// to whether the configured sink is "ximagesink". The file must exist.
int ReadConfigFile(const wxString& file, ZPCONFIG& cfg, bool* ximagesink = nullptr);

// Writes `cfg` into `file`, keeping entries of an existing file that the
// program never writes. The new content goes to a temporary file in the same
// directory that replaces `file` only once it is completely on disk, so a
// failed or interrupted save leaves the previous file as it was. Returns false
// when anything failed.
bool WriteConfigFile(const wxString& file, const ZPCONFIG& cfg);
