// The borderless full-screen video window (video output target 2).
#pragma once

#include <wx/frame.h>

class wxMenu;
class wxPanel;

class MyFullscreenFrame : public wxFrame {
public:
    explicit MyFullscreenFrame(wxWindow* parent = nullptr);
    ~MyFullscreenFrame() override;

    bool loaded = false;
    wxPanel* videoPanel = nullptr;   // ID_FULLSCREEN_VIDEOWINDOW
    wxMenu* popupMenu = nullptr;     // ID_MENU_FULLSCREENVIDEO
    bool favouritesPending = true;

    void OnClose(wxCloseEvent& event);

private:
    wxDECLARE_EVENT_TABLE();
};
