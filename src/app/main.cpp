#include <cstdlib>
#include <wx/app.h>
#include "app/app.h"
#include "app/toolkit.h"


int main(int argc, char** argv)
{
    // GTK sets up OpenGL on every X display it opens, which loads the GL
    // driver (Mesa's software renderer: 45 MB of LLVM). Nothing here draws
    // with OpenGL.
    setenv("GDK_GL", "disable", 0);
    ForceX11Backend();
#ifdef NDEBUG
    // as wxIMPLEMENT_APP's own main does for release builds, except that a
    // failed check still leaves a trace
    wxDISABLE_DEBUG_LOGGING_IN_RELEASE_BUILD();
    LogToolkitAsserts();
#endif
    // MyApp lives in the static core library: naming it here is what links it in
    wxApp::SetInstance(new MyApp);
    return wxEntry(argc, argv);
}
