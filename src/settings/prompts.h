// The small modal prompts of the settings dialog (a name, a directory, a
// choice of several entries), reached through one place each so that a test
// can answer them and a headless run never waits for a click.
#pragma once

#include <functional>
#include <vector>
#include <wx/arrstr.h>
#include <wx/string.h>

class wxWindow;

// A line of text; false when the user cancelled.
bool ZPAskText(const wxString& message, const wxString& value, wxString* answer, wxWindow* parent);
// A local directory starting at `start`; false when cancelled.
bool ZPAskDirectory(const wxString& message, const wxString& start, wxString* chosen, wxWindow* parent);
// Several entries of `choices`, preselected as in `selection`; false when cancelled.
bool ZPAskChoices(const wxString& message, const wxArrayString& choices, std::vector<int>* selection,
                  wxWindow* parent);

// Replacements for tests (nullptr restores the real prompt); each returns the previous one.
using TextPrompt = std::function<bool(const wxString& message, const wxString& value, wxString* answer)>;
using DirectoryPrompt = std::function<bool(const wxString& message, const wxString& start, wxString* chosen)>;
using ChoicesPrompt = std::function<bool(const wxString& message, const wxArrayString& choices,
                                         std::vector<int>* selection)>;
TextPrompt SetTextPrompt(TextPrompt prompt);
DirectoryPrompt SetDirectoryPrompt(DirectoryPrompt prompt);
ChoicesPrompt SetChoicesPrompt(ChoicesPrompt prompt);
