#include "mainwindow/fullframe.h"

#include <wx/cursor.h>
#include <wx/display.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"

wxBEGIN_EVENT_TABLE(MyFullscreenFrame, wxFrame)
    EVT_CLOSE(MyFullscreenFrame::OnClose)
wxEND_EVENT_TABLE()

MyFullscreenFrame::MyFullscreenFrame(wxWindow* parent)
{
    loaded = wxXmlResource::Get()->LoadFrame(this, parent, wxT("ID_FULLFRAME"));
    if (!loaded)
        return;
    videoPanel = XRCCTRL(*this, "ID_FULLSCREEN_VIDEOWINDOW", wxPanel);
    popupMenu = wxXmlResource::Get()->LoadMenu(wxT("ID_MENU_FULLSCREENVIDEO"));
    const wxSize screen = wxDisplay(0u).GetGeometry().GetSize();
    if (videoPanel)
        videoPanel->SetMinSize(screen);
    SetClientSize(screen);
    if (GetSizer())
        GetSizer()->Fit(this);
    Layout();
    Move(0, 0);
    if (videoPanel) {
        wxImage blank = wxXmlResource::Get()->LoadBitmap(wxT("CUR_FULLSCREEN")).ConvertToImage();
        if (blank.IsOk())
            videoPanel->SetCursor(wxCursor(blank));
    }
    if (popupMenu) {
        if (wxMenuItem* item = popupMenu->FindItem(XRCID("ID_MENUITEM_DEINTERLACE")))
            item->Check(config.deinterlacer != 0);
    }
    favouritesPending = true;
    if (videoPanel)
        videoPanel->SetFocus();
}

MyFullscreenFrame::~MyFullscreenFrame()
{
    delete popupMenu;
    if (FullscreenFrame == this)
        FullscreenFrame = nullptr;
}

void MyFullscreenFrame::OnClose(wxCloseEvent& event)
{
    if (event.CanVeto()) {
        event.Veto();
        return;
    }
    Destroy();
}
