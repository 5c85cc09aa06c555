// Opening web pages and mail addresses in the desktop's default programs.
// Tests replace the launcher so that no browser starts.
#pragma once

#include <functional>
#include <wx/string.h>

// Returns false when no program could be started for the address.
bool OpenInBrowser(const wxString& url);

using BrowserHandler = std::function<bool(const wxString& url)>;
// Replaces the launcher (nullptr restores the real one); returns the previous one.
BrowserHandler SetBrowserHandler(BrowserHandler handler);
