// The receiver's recording directories ("getlocations").
#pragma once

#include <vector>
#include <wx/string.h>

// Directories of an "e2locations" reply in document order, each text trimmed;
// empty entries are skipped. False when the reply is not such a document;
// `locations` is left alone then.
bool ParseLocations(const wxString& xml, std::vector<wxString>& locations);

// Asks the active receiver for its recording directories. False when the
// request fails or the reply is no "e2locations" document; `locations` is
// left alone then.
bool RequestLocations(std::vector<wxString>& locations);
