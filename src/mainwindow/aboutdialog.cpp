#include "mainwindow/aboutdialog.h"

#include <vector>
#include <gst/gst.h>
#include <wx/hyperlink.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/seams.h"
#include "app/version.h"
#include "mainwindow/browser.h"
#include "mainwindow/donationdialog.h"
#include "mainwindow/framerules.h"

namespace {

struct LinkInfo {
    const char* panel;
    const char* bitmap;
    const char* image;   // IMG_ABOUT_<image>_48 / _64
    const char* address;
};

const LinkInfo kLinks[MyAboutDialog::LINK_COUNT] = {
    { "ID_PANEL_ABOUT_UPDATE", "ID_BITMAP_ABOUT_UPDATE", "UPDATE_LIN", "https://zappora.example.org/update" },
    { "ID_PANEL_ABOUT_LANGUAGE", "ID_BITMAP_ABOUT_LANGUAGE", "LANGUAGE", "https://zappora.example.org/languages" },
    { "ID_PANEL_ABOUT_FORUM", "ID_BITMAP_ABOUT_FORUM", "FORUM", "https://zappora.example.org/forum" },
    { "ID_PANEL_ABOUT_EMAIL", "ID_BITMAP_ABOUT_EMAIL", "EMAIL", "mailto:author@zappora.example.org" },
    { "ID_PANEL_ABOUT_DONATE", "ID_BITMAP_ABOUT_DONATE", "DONATE", "" },
};

} // namespace

wxString AboutVersionLine(const wxString& program, const wxString& toolkit,
                          const wxString& media, const wxString& translator)
{
    return wxString::Format(wxT("Version %s | %s | %s ( %s)"), program, toolkit, media, translator);
}

wxBEGIN_EVENT_TABLE(MyAboutDialog, wxDialog)
    EVT_COMMAND(wxID_ANY, wxEVT_KEY, MyAboutDialog::OnKey)
wxEND_EVENT_TABLE()

MyAboutDialog::MyAboutDialog(wxWindow* parent)
{
    loaded = wxXmlResource::Get()->LoadDialog(this, parent, wxT("ID_DIALOG_ABOUT"));
    if (!loaded)
        return;
    versionText = XRCCTRL(*this, "ID_STATICTEXT_ABOUT_VERSION", wxStaticText);
    if (versionText) {
        gchar* gst = gst_version_string();
        versionText->SetLabel(AboutVersionLine(wxT(ZP_PROGRAM_VERSION), wxVERSION_STRING,
                                               wxString::FromUTF8(gst), config.translator));
        g_free(gst);
    }
    for (int i = 0; i < LINK_COUNT; i++) {
        panel[i] = dynamic_cast<wxPanel*>(FindWindow(XRCID(kLinks[i].panel)));
        image[i] = dynamic_cast<wxStaticBitmap*>(FindWindow(XRCID(kLinks[i].bitmap)));
        if (!panel[i])
            continue;
        panel[i]->SetCursor(wxCursor(wxCURSOR_HAND));
        // Clicks and hovering on the picture and caption count for the panel.
        std::vector<wxWindow*> windows(panel[i]->GetChildren().begin(),
                                       panel[i]->GetChildren().end());
        windows.push_back(panel[i]);
        for (wxWindow* w : windows) {
            w->Bind(wxEVT_LEFT_UP, &MyAboutDialog::OnMouse, this);
            w->Bind(wxEVT_ENTER_WINDOW, &MyAboutDialog::OnMouse, this);
            w->Bind(wxEVT_LEAVE_WINDOW, &MyAboutDialog::OnMouse, this);
        }
        SetHovered(i, false);
    }
    Bind(wxEVT_HYPERLINK, &MyAboutDialog::OnHyperlink, this);
    if (GetSizer())
        GetSizer()->SetSizeHints(this);
    CentreOnParent();
}

wxString MyAboutDialog::LinkAddress(int link)
{
    if (link < 0 || link >= LINK_COUNT)
        return wxString();
    return wxString::FromUTF8(kLinks[link].address);
}

void MyAboutDialog::SetHovered(int link, bool on)
{
    if (link < 0 || link >= LINK_COUNT || !image[link])
        return;
    hovered[link] = on;
    wxBitmap bmp = wxXmlResource::Get()->LoadBitmap(AboutImageName(kLinks[link].image, on));
    if (bmp.IsOk())
        image[link]->SetBitmap(bmp);
    // The picture area stays 64 x 64 so the dialog does not jump.
    image[link]->SetMinSize(wxSize(64, 64));
}

void MyAboutDialog::Activate(int link)
{
    if (link == LINK_DONATE) {
        ZPMessageBox(_(wxT("Wichtiger Hinweis!\n\n"
                           "Zappora E2 ist und bleibt kostenlos. Eine Spende ist freiwillig; "
                           "sie ist ein Dankeschön und begründet keinen Anspruch auf Unterstützung "
                           "oder neue Funktionen.")),
                     wxOK | wxICON_INFORMATION, this);
        auto* dialog = new MyDonationDialog(this);
        if (dialog->loaded)
            dialog->ShowModal();
        dialog->Destroy();
        return;
    }
    const wxString url = LinkAddress(link);
    if (!url.empty() && !OpenInBrowser(url))
        ZPMessageBox(wxString::Format(_(wxT("Die Adresse\n\n%s\n\nkonnte nicht geöffnet werden.")), url),
                     wxOK | wxICON_WARNING, this);
}

int MyAboutDialog::LinkOf(wxWindow* window) const
{
    for (int i = 0; i < LINK_COUNT; i++)
        if (panel[i] && (window == panel[i] || window->GetParent() == panel[i]))
            return i;
    return -1;
}

void MyAboutDialog::OnMouse(wxMouseEvent& event)
{
    event.Skip();
    auto* window = dynamic_cast<wxWindow*>(event.GetEventObject());
    const int link = window ? LinkOf(window) : -1;
    if (link < 0)
        return;
    if (event.GetEventType() == wxEVT_LEFT_UP) {
        CallAfter([this, link] { Activate(link); });
        return;
    }
    // Moving between the picture and its caption leaves one child and enters
    // another; only the panel's outline decides.
    const bool inside = panel[link]->GetScreenRect().Contains(wxGetMousePosition());
    if (inside != hovered[link])
        SetHovered(link, inside);
}

void MyAboutDialog::OnHyperlink(wxHyperlinkEvent& event)
{
    // Through the launcher instead of the control's own browser start.
    OpenInBrowser(event.GetURL());
}

void MyAboutDialog::OnKey(wxCommandEvent& event)
{
    if (event.GetId() == WXK_ESCAPE) {
        if (IsModal())
            EndModal(wxID_CANCEL);
        else
            Close();
    }
    event.Skip();
}
