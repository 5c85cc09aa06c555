#include <wx/app.h>
#include "app/app.h"


int main(int argc, char** argv)
{
    // MyApp lives in the static core library: naming it here is what links it in
    wxApp::SetInstance(new MyApp);
    return wxEntry(argc, argv);
}
