// What a benchmark with windows starts with: the toolkit on the (virtual)
// display, the embedded resources and a configuration directory of its own.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <wx/app.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/xrc/xmlres.h>

#include "app/globals.h"

extern void InitXmlResource();

inline bool StartHeadless(int argc, char** argv, const char* name)
{
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        fprintf(stderr, "no display (run under xvfb-run)\n");
        return false;
    }
    wxLog::SetActiveTarget(new wxLogStderr);
    wxInitAllImageHandlers();
    wxXmlResource::Get()->InitAllHandlers();
    InitXmlResource();
    std::string pattern = std::string("/tmp/zp-") + name + ".XXXXXX";
    std::vector<char> dir(pattern.begin(), pattern.end());
    dir.push_back('\0');
    if (!mkdtemp(dir.data()))
        return false;
    CFG_PATH = wxString::FromUTF8(dir.data()) + wxT("/");
    return true;
}

inline void EndHeadless()
{
    wxFileName::Rmdir(CFG_PATH, wxPATH_RMDIR_RECURSIVE);
    wxEntryCleanup();
}
