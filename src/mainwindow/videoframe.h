// The stand-alone, resizable video window (video output target 1).
#pragma once

#include <wx/frame.h>

class wxMenu;
class wxPanel;

class MyVideoFrame : public wxFrame {
public:
    explicit MyVideoFrame(wxWindow* parent = nullptr);
    ~MyVideoFrame() override;

    bool loaded = false;
    wxPanel* videoPanel = nullptr;   // ID_STANDALONE_VIDEOWINDOW
    wxMenu* popupMenu = nullptr;     // ID_MENU_STANDALONEVIDEO
    bool favouritesPending = true;   // bouquet submenus not yet appended
    wxPoint dragOffset;
    bool firstDrag = false;

    void OnClose(wxCloseEvent& event);

private:
    wxDECLARE_EVENT_TABLE();
};
