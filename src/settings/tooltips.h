// Tool tips on or off. GTK 3.10 and later ignore the toolkit-wide switch
// (wxToolTip::Enable), so every window is switched on its own: the ones that
// exist when the setting changes, and every window shown afterwards.
#pragma once

class wxWindow;

// Switches tool tips for all top-level windows of the program.
void SetToolTipsEnabled(bool on);
bool ToolTipsEnabled();
// Applies the current setting to one window and everything inside it.
void ApplyToolTips(wxWindow* window);
