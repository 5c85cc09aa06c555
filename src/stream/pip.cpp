#include "stream/pip.h"

// The mixer is built by the PiP chain; until one exists there is nothing to
// start or to end, and switching and supervision only carry the flag along.
GstElement* videomixer = nullptr;
GstElement* videobox = nullptr;
wxString PiPsRef;
bool restorepip = false;

bool PiPInit(const wxString&)
{
    return false;
}

void PiPExit()
{
}
