// "Über Zappora E2": version line and panels that open the project's pages.
#pragma once

#include <wx/dialog.h>

class wxPanel;
class wxStaticBitmap;
class wxStaticText;

// The version line: program, toolkit, media framework and translator credit.
wxString AboutVersionLine(const wxString& program, const wxString& toolkit,
                          const wxString& media, const wxString& translator);

class MyAboutDialog : public wxDialog {
public:
    // The clickable panels, in the order of the dialog.
    enum Link { LINK_UPDATE, LINK_LANGUAGE, LINK_FORUM, LINK_EMAIL, LINK_DONATE, LINK_COUNT };

    explicit MyAboutDialog(wxWindow* parent);

    bool loaded = false;
    wxStaticText* versionText = nullptr;
    wxPanel* panel[LINK_COUNT] = {};
    wxStaticBitmap* image[LINK_COUNT] = {};
    bool hovered[LINK_COUNT] = {};

    static wxString LinkAddress(int link);   // empty for the donation panel
    // Shows the panel's picture large (under the mouse) or small.
    void SetHovered(int link, bool on);
    // A click on a panel: its page in the browser, or the donation notice and dialog.
    void Activate(int link);

    void OnKey(wxCommandEvent& event);

private:
    void OnMouse(wxMouseEvent& event);
    void OnHyperlink(class wxHyperlinkEvent& event);
    int LinkOf(wxWindow* window) const;

    wxDECLARE_EVENT_TABLE();
};
