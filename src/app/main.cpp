#include <wx/app.h>
#include "app/app.h"
#include "app/toolkit.h"


int main(int argc, char** argv)
{
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
