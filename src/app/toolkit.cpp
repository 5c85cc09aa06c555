#include "app/toolkit.h"

#include <cstdio>
#include <cstdlib>
#include <gdk/gdk.h>
#include <wx/debug.h>
#include <wx/log.h>

namespace {
wxString g_userBackend;   // GDK_BACKEND as the user set it, empty when we chose

void LogAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
               const wxString& msg)
{
    // An assert inside the logging itself must not come back here.
    static bool busy = false;
    if (busy)
        return;
    busy = true;
    const wxString text = wxString::Format(wxT("wxWidgets-Prüfung fehlgeschlagen: %s (%s:%d, %s) %s"),
                                           cond, file, line, func, msg);
    fprintf(stderr, "zappora: %s\n", (const char*)text.utf8_str());
    wxLogVerbose(wxT("Verbose: %s"), text);
    busy = false;
}
}  // namespace

void ForceX11Backend()
{
    const char* user = getenv("GDK_BACKEND");
    if (user && *user) {
        g_userBackend = wxString::FromUTF8(user);
        return;
    }
    setenv("GDK_BACKEND", "x11", 1);
}

wxString GdkBackendDescription()
{
    GdkDisplay* display = gdk_display_get_default();
    wxString name = display ? wxString::FromUTF8(G_OBJECT_TYPE_NAME(display)) : wxString(wxT("keins"));
    // "GdkX11Display", "GdkWaylandDisplay", ...
    if (name.StartsWith(wxT("Gdk")) && name.EndsWith(wxT("Display")))
        name = name.Mid(3, name.length() - 10).Lower();
    if (!g_userBackend.empty())
        return wxString::Format(wxT("%s (GDK_BACKEND=%s)"), name, g_userBackend);
    if (name == wxT("x11") && getenv("WAYLAND_DISPLAY"))
        return name + wxT(" (XWayland)");
    return name;
}

void LogToolkitAsserts()
{
    wxSetAssertHandler(LogAssert);
}
