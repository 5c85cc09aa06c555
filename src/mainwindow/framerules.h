// Decisions of the main window's frame that do not need a window.
#pragma once

#include <wx/string.h>

// Help book of the language (e.g. "EN"), or the German one when that book is
// missing; empty when neither exists. fileExists answers for a full path.
wxString ChooseHelpBook(const wxString& binPath, const wxString& language,
                        bool (*fileExists)(const wxString&));

// Label of the stream-source menu entry of profile index i (0-based).
wxString SourceMenuLabel(int index, const wxString& name);

// Resource name of the recording-menu sort entry for GENERAL/SortMode.
wxString SortModeItemName(int sortMode);

// Closing asks only outside the start-up phase, in normal mode, when the
// close may be refused at all.
bool CloseNeedsQuestion(bool splashActive, bool forcedSettings, bool expertMode, bool canVeto);

// Growing the 48 pixel picture of an about panel to 64 under the mouse.
wxString AboutImageName(const wxString& kind, bool hovered);

// Resource name of the stream-source menu entry of profile index i (0..9).
wxString SourceMenuItemName(int index);
