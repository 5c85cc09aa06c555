// The tray icon that brings the main window back from desktop mode.
#pragma once

#include <wx/taskbar.h>

class MyTaskBarIcon : public wxTaskBarIcon {
public:
    MyTaskBarIcon() = default;

protected:
    wxMenu* CreatePopupMenu() override;
};
