#include "mainwindow/videoframe.h"

#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"

wxBEGIN_EVENT_TABLE(MyVideoFrame, wxFrame)
    EVT_CLOSE(MyVideoFrame::OnClose)
wxEND_EVENT_TABLE()

MyVideoFrame::MyVideoFrame(wxWindow* parent)
{
    loaded = wxXmlResource::Get()->LoadFrame(this, parent, wxT("ID_VIDEOFRAME"));
    if (!loaded)
        return;
    SetIcon(wxXmlResource::Get()->LoadIcon(wxT("IMG_ICON_TASKBAR")));
    videoPanel = XRCCTRL(*this, "ID_STANDALONE_VIDEOWINDOW", wxPanel);
    popupMenu = wxXmlResource::Get()->LoadMenu(wxT("ID_MENU_STANDALONEVIDEO"));
    // The layout's panel size is only the first-run size; the window may shrink below it.
    wxSize size = videoPanel ? videoPanel->GetSize() : GetClientSize();
    if (config.videowin_w > 0 && config.videowin_h > 0)
        size = wxSize(config.videowin_w, config.videowin_h);
    if (videoPanel)
        videoPanel->SetMinSize(wxSize(160, 120));
    if (GetSizer())
        GetSizer()->SetSizeHints(this);
    SetClientSize(size);
    Layout();
    if (config.videowin_x != -1 && config.videowin_y != -1)
        Move(config.videowin_x, config.videowin_y);
    favouritesPending = true;
    if (videoPanel)
        videoPanel->SetFocus();
}

MyVideoFrame::~MyVideoFrame()
{
    delete popupMenu;
    if (VideoFrame == this)
        VideoFrame = nullptr;
}

void MyVideoFrame::OnClose(wxCloseEvent& event)
{
    // The window lives as long as the main window; the user only hides it.
    if (event.CanVeto()) {
        event.Veto();
        return;
    }
    Destroy();
}
