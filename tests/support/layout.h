// Windows as the user sees them: shown on the (virtual) screen, checked for
// controls that leave their window or cover each other, and photographed.
#pragma once

#include <string>
#include <vector>
#include <wx/string.h>

class wxTopLevelWindow;
class wxWindow;

// Shows the window and lets it draw.
void ShowAndSettle(wxTopLevelWindow* window);
// Visible controls that draw something themselves (containers are skipped).
void CollectLeaves(wxWindow* window, std::vector<wxWindow*>& out);
std::string Describe(wxWindow* w);
// Every control inside the window, none covering another, labels wide enough
// for their text, the window within a 1280 x 1024 screen (gtest expectations).
void ExpectTidy(wxTopLevelWindow* window);
// Shows the window, lets it draw and saves its pixels as `file` in
// $ZP_SCREENSHOT_DIR (default: "screenshots" in the build directory). The
// number of colours returned tells a drawn window from an empty grab.
int Photograph(wxTopLevelWindow* window, const wxString& file);
