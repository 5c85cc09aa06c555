#include "support/resources.h"

#include <wx/image.h>
#include <wx/xrc/xmlres.h>

extern void InitXmlResource();

void LoadResourcesOnce()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    wxInitAllImageHandlers();
    wxXmlResource::Get()->InitAllHandlers();
    InitXmlResource();
}
