#include "mainwindow/taskbaricon.h"

#include <wx/menu.h>
#include <wx/xrc/xmlres.h>

wxMenu* MyTaskBarIcon::CreatePopupMenu()
{
    // The toolkit takes ownership of the returned menu.
    return wxXmlResource::Get()->LoadMenu(wxT("ID_MENU_TASKBAR"));
}
