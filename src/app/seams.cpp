#include "app/seams.h"

#include <wx/msgdlg.h>
#include <wx/utils.h>
#include <wx/filename.h>

namespace {
MessageBoxHandler g_box;
wxString g_registryDir;
PowerOffHandler g_powerOff;
}

int ZPMessageBox(const wxString& text, long style, wxWindow* parent, const wxString& caption)
{
    if (g_box)
        return g_box(caption, text, style);
    return wxMessageBox(text, caption, style, parent);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler old = g_box;
    g_box = std::move(handler);
    return old;
}

wxString GstRegistryDir()
{
    if (!g_registryDir.empty())
        return g_registryDir;
    wxString cache;
    if (!wxGetEnv(wxT("XDG_CACHE_HOME"), &cache) || cache.empty())
        cache = wxGetHomeDir() + wxT("/.cache");
    return cache + wxT("/gstreamer-1.0");
}

void SetGstRegistryDirOverride(const wxString& dir)
{
    g_registryDir = dir;
}

bool PowerOff()
{
    if (g_powerOff)
        return g_powerOff();
    return wxShutdown(wxSHUTDOWN_POWEROFF);
}

PowerOffHandler SetPowerOffHandler(PowerOffHandler handler)
{
    PowerOffHandler old = g_powerOff;
    g_powerOff = std::move(handler);
    return old;
}
