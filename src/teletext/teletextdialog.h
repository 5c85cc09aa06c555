// "Teletext": the page viewer. Collects pages while it is open and draws the
// chosen one once a second.
#pragma once

#include <wx/bitmap.h>
#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/timer.h>

#include "teletext/pagelayout.h"
#include "teletext/pagerender.h"

class wxMenu;

// The page as last drawn (mouse hits, raw save) and the page number being typed.
extern unsigned char string[TTX_PAGE_BYTES];
extern int page_input[3];
extern int page_input_counter;

class MyTeletextDialog : public wxDialog {
public:
    explicit MyTeletextDialog(wxWindow* parent);
    ~MyTeletextDialog() override;

    bool loaded = false;
    wxWindow* window = nullptr;   // ID_TELETEXT_WINDOW
    wxMenu* menu = nullptr;       // ID_MENU_TELETEXT
    wxTimer timer;                // id 1, redraws once a second
    wxImage picture;              // the 400 x 288 page, RGB
    wxBitmap bitmap;              // what the window shows of it
    TtxFonts fonts;
    TtxLayout layout;             // cells and attribute map of the last drawing
    int previousPage = 0x100;
    bool pageEntry = false;       // a page number is being typed
    bool reveal = false;          // "verdeckte Infos"

    // Draws show_page into the picture and onto the window.
    void DecodePage();
    // Saves the picture (800 x 576) as "PPP-SS.png" and the page as
    // "PPP-SS.raw"; returns the picture's path, empty on failure.
    wxString SaveScreenshot();

    void TxTimer(wxTimerEvent& event);
    void OnButton(wxCommandEvent& event);
    void OnMenu(wxCommandEvent& event);
    void OnKey(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnPaint(wxPaintEvent& event);
    void OnMouseLeft(wxMouseEvent& event);
    void OnMouseRight(wxMouseEvent& event);
    void OnMouseMotion(wxMouseEvent& event);

private:
    // Paints cells of the layout into the picture and the window.
    void DrawCells(int firstRow, int lastRow, int firstCol, int lastCol);
    void ShowPageEntry();
    void SetAutomatic(bool on);
    void Finish();
    bool finished = false;

    wxDECLARE_EVENT_TABLE();
};
