#include "teletext/teletextdialog.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <wx/dcclient.h>
#include <wx/file.h>
#include <wx/filename.h>
#include <wx/html/helpctrl.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "mainwindow/mainframe.h"
#include "stream/streaminfo.h"
#include "teletext/collector.h"
#include "teletext/pagenav.h"

unsigned char string[TTX_PAGE_BYTES];
int page_input[3];
int page_input_counter = 0;

namespace {

enum { ID_TIMER_TXT = 1 };

const char* const kPageButtons[] = {"ID_BUTTON_100", "ID_BUTTON_200", "ID_BUTTON_300",
                                    "ID_BUTTON_400", "ID_BUTTON_500", "ID_BUTTON_600",
                                    "ID_BUTTON_700", "ID_BUTTON_800"};
const char* const kDigitButtons[] = {"ID_BUTTON_0", "ID_BUTTON_1", "ID_BUTTON_2", "ID_BUTTON_3",
                                     "ID_BUTTON_4", "ID_BUTTON_5", "ID_BUTTON_6", "ID_BUTTON_7",
                                     "ID_BUTTON_8", "ID_BUTTON_9"};

int SubsetItem(int subset)
{
    return XRCID(wxString::Format(wxT("ID_MENUITEM_%02d"), subset));
}

int IndexOf(const char* const* names, int count, int id)
{
    for (int i = 0; i < count; ++i)
        if (XRCID(names[i]) == id)
            return i;
    return -1;
}

void PostButton(wxWindow* target, const char* name)
{
    wxCommandEvent click(wxEVT_BUTTON, XRCID(name));
    wxPostEvent(target, click);
}

} // namespace

wxBEGIN_EVENT_TABLE(MyTeletextDialog, wxDialog)
    EVT_TIMER(ID_TIMER_TXT, MyTeletextDialog::TxTimer)
    EVT_BUTTON(wxID_ANY, MyTeletextDialog::OnButton)
    EVT_MENU(wxID_ANY, MyTeletextDialog::OnMenu)
    EVT_COMMAND(wxID_ANY, wxEVT_KEY, MyTeletextDialog::OnKey)
    EVT_CLOSE(MyTeletextDialog::OnClose)
wxEND_EVENT_TABLE()

MyTeletextDialog::MyTeletextDialog(wxWindow* parent) : timer(this, ID_TIMER_TXT)
{
    loaded = wxXmlResource::Get()->LoadDialog(this, parent, wxT("ID_DIALOG_TELETEXT"));
    if (!loaded)
        return;
    window = FindWindow(XRCID("ID_TELETEXT_WINDOW"));
    menu = wxXmlResource::Get()->LoadMenu(wxT("ID_MENU_TELETEXT"));
    if (!fonts.Load())
        wxLogError(_(wxT("Die Zeichensätze des Teletextes fehlen.")));
    picture.Create(TTX_PICTURE_W, TTX_PICTURE_H, true);   // black
    bitmap = wxBitmap(picture);
    memset(string, ' ', sizeof string);
    if (window) {
        window->SetBackgroundColour(*wxBLACK);
        window->SetBackgroundStyle(wxBG_STYLE_PAINT);
        window->Bind(wxEVT_PAINT, &MyTeletextDialog::OnPaint, this);
        window->Bind(wxEVT_LEFT_UP, &MyTeletextDialog::OnMouseLeft, this);
        window->Bind(wxEVT_RIGHT_UP, &MyTeletextDialog::OnMouseRight, this);
        window->Bind(wxEVT_MOTION, &MyTeletextDialog::OnMouseMotion, this);
    }

    StartTeletextCollection();
    const STREAMFIELDS info = StreamInfoCopy();
    show_page = InitialPage(info.ttxpid ? info.ttxpage : 0);
    previousPage = show_page;
    pageEntry = false;
    page_input_counter = 0;
    reveal = false;
    SetAutomatic(true);
    timer.Start(1000);
    if (GetSizer())
        GetSizer()->SetSizeHints(this);
    CentreOnParent();
    DecodePage();
    if (window)
        window->SetFocus();
}

MyTeletextDialog::~MyTeletextDialog()
{
    Finish();
    delete menu;
}

void MyTeletextDialog::Finish()
{
    if (finished || !loaded)
        return;
    finished = true;
    timer.Stop();
    StopTeletextCollection();
}

void MyTeletextDialog::SetAutomatic(bool on)
{
    if (!menu)
        return;
    menu->Check(XRCID("ID_MENUITEM_AU"), on);
    for (int i = 0; i < TTX_SUBSETS; ++i)
        menu->Enable(SubsetItem(i), !on);
    if (on) {
        ns = (auto_ns >= 0 && auto_ns < TTX_SUBSETS) ? auto_ns : 1;
        menu->Check(SubsetItem(ns), true);
    }
}

void MyTeletextDialog::DrawCells(int firstRow, int lastRow, int firstCol, int lastCol)
{
    RenderCells(layout, fonts, picture.GetData(), firstRow, lastRow, firstCol, lastCol);
    bitmap = wxBitmap(picture);
    if (!window)
        return;
    // A double-height glyph reaches one row further down.
    const int bottom = std::min<int>((lastRow + 2) * TTX_CELL_H, TTX_PICTURE_H);
    window->RefreshRect(wxRect(firstCol * TTX_CELL_W, firstRow * TTX_CELL_H,
                               (lastCol - firstCol + 1) * TTX_CELL_W, bottom - firstRow * TTX_CELL_H),
                        false);
}

void MyTeletextDialog::DecodePage()
{
    if (pageEntry)
        return;
    const int sub = CurrentSubPage(show_page);
    char clock[8];
    CopyClock(clock);
    unsigned char page[TTX_PAGE_BYTES];
    if (!CopyPage(show_page, sub, page)) {
        // Only the header tells that the page is awaited; the rows keep
        // what they showed.
        char header[TTX_COLUMNS];
        MissingPageHeader(show_page, sub, clock, header);
        memcpy(string, header, TTX_COLUMNS);
        LayoutTextRow(layout, 0, 0, header, TTX_COLUMNS, 1, ns);
        DrawCells(0, 0, 0, TTX_COLUMNS - 1);
        return;
    }
    memcpy(string, page, TTX_PAGE_BYTES);
    memcpy(string + 32, clock, 8);
    LayoutPage(string, ns, reveal, layout);
    DrawCells(0, TTX_ROWS - 1, 0, TTX_COLUMNS - 1);
}

void MyTeletextDialog::ShowPageEntry()
{
    char text[6];
    PageEntryText(page_input, page_input_counter, text);
    LayoutTextRow(layout, 0, 1, text, 6, 1, ns);
    DrawCells(0, 0, 1, 6);
}

void MyTeletextDialog::TxTimer(wxTimerEvent&)
{
    DecodePage();
}

void MyTeletextDialog::OnButton(wxCommandEvent& event)
{
    const int id = event.GetId();
    const int pageButton = IndexOf(kPageButtons, 8, id);
    const int digit = IndexOf(kDigitButtons, 10, id);
    const bool known = pageButton >= 0 || digit >= 0 || id == XRCID("ID_BUTTON_PREV_SUBPAGE") ||
                       id == XRCID("ID_BUTTON_NEXT_SUBPAGE") || id == XRCID("ID_BUTTON_PREV_PAGE") ||
                       id == XRCID("ID_BUTTON_NEXT_PAGE") || id == XRCID("ID_BUTTON_SCREENSHOT");
    if (!known) {
        event.Skip();   // the dialog's own buttons (cancel on Escape)
        return;
    }
    if (window)
        window->SetFocus();
    pageEntry = false;

    if (pageButton >= 0) {
        previousPage = show_page;
        show_page = (pageButton + 1) << 8;
    } else if (digit >= 0) {
        int typed = 0;
        switch (TypeDigit(digit, page_input, page_input_counter, typed)) {
        case TTX_DIGIT_BACK:
            if (show_page != previousPage)
                std::swap(show_page, previousPage);
            break;
        case TTX_DIGIT_PENDING:
            pageEntry = true;
            ShowPageEntry();
            return;
        case TTX_DIGIT_COMPLETE:
            // The header shows the whole number typed before the page follows.
            ShowPageEntry();
            page_input_counter = 0;
            previousPage = show_page;
            show_page = typed;
            break;
        case TTX_DIGIT_IGNORED:
            break;
        }
    } else if (id == XRCID("ID_BUTTON_PREV_SUBPAGE") || id == XRCID("ID_BUTTON_NEXT_SUBPAGE")) {
        FindSubPage(CurrentSubPage(show_page), id == XRCID("ID_BUTTON_NEXT_SUBPAGE") ? 2 : 1);
    } else if (id == XRCID("ID_BUTTON_PREV_PAGE") || id == XRCID("ID_BUTTON_NEXT_PAGE")) {
        previousPage = show_page;
        FindPage(show_page, id == XRCID("ID_BUTTON_NEXT_PAGE") ? 0 : 1);
    } else if (id == XRCID("ID_BUTTON_SCREENSHOT")) {
        SaveScreenshot();
        return;
    }
    DecodePage();
}

void MyTeletextDialog::OnMenu(wxCommandEvent& event)
{
    const int id = event.GetId();
    if (!menu) {
        event.Skip();
        return;
    }
    if (id == XRCID("ID_MENUITEM_AU")) {
        SetAutomatic(menu->IsChecked(id));
    } else if (id == XRCID("ID_MENUITEM_HINT")) {
        reveal = menu->IsChecked(id);
    } else {
        int subset = -1;
        for (int i = 0; i < TTX_SUBSETS; ++i)
            if (SubsetItem(i) == id)
                subset = i;
        if (subset < 0) {
            event.Skip();
            return;
        }
        ns = subset;
    }
    DecodePage();
}

void MyTeletextDialog::OnKey(wxCommandEvent& event)
{
    const int key = event.GetId();
    if (key >= '0' && key <= '9')
        PostButton(this, kDigitButtons[key - '0']);
    else if (key >= WXK_NUMPAD0 && key <= WXK_NUMPAD9)
        PostButton(this, kDigitButtons[key - WXK_NUMPAD0]);
    else if (key == WXK_LEFT)
        PostButton(this, "ID_BUTTON_PREV_SUBPAGE");
    else if (key == WXK_RIGHT)
        PostButton(this, "ID_BUTTON_NEXT_SUBPAGE");
    else if (key == WXK_UP)
        PostButton(this, "ID_BUTTON_NEXT_PAGE");
    else if (key == WXK_DOWN)
        PostButton(this, "ID_BUTTON_PREV_PAGE");
    else if (key == WXK_F1 && MainFrame && MainFrame->help)
        MainFrame->help->Display(wxT("Teletext.htm"));
    else if (key == WXK_ESCAPE)
        Close();
    event.Skip();
}

void MyTeletextDialog::OnClose(wxCloseEvent&)
{
    Finish();
    if (IsModal())
        EndModal(0);
    else
        Hide();
}

void MyTeletextDialog::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(window);
    if (bitmap.IsOk())
        dc.DrawBitmap(bitmap, 0, 0, false);
}

void MyTeletextDialog::OnMouseLeft(wxMouseEvent& event)
{
    int column = 0, row = 0;
    if (CellAt(event.GetX(), event.GetY(), column, row)) {
        const int page = PageReferenceAt(string, column, row);
        if (page) {
            previousPage = show_page;
            show_page = page;
        }
    }
    if (window)
        window->SetCursor(wxCursor(wxCURSOR_ARROW));
    DecodePage();
}

void MyTeletextDialog::OnMouseRight(wxMouseEvent&)
{
    if (menu)
        PopupMenu(menu);
}

void MyTeletextDialog::OnMouseMotion(wxMouseEvent& event)
{
    int column = 0, row = 0;
    const bool onReference =
        CellAt(event.GetX(), event.GetY(), column, row) && PageReferenceAt(string, column, row);
    if (window)
        window->SetCursor(wxCursor(onReference ? wxCURSOR_HAND : wxCURSOR_ARROW));
}

wxString MyTeletextDialog::SaveScreenshot()
{
    wxString dir = CFG_PATH;
    if (!config.recdir.empty() && wxDirExists(config.recdir))
        dir = config.recdir;
    const wxString name = wxString::Format(wxT("%.3X-%.2X"), show_page, CurrentSubPage(show_page));
    const wxString png = wxFileName(dir, name + wxT(".png")).GetFullPath();
    const wxString raw = wxFileName(dir, name + wxT(".raw")).GetFullPath();
    wxImage large = picture.Scale(2 * TTX_PICTURE_W, 2 * TTX_PICTURE_H, wxIMAGE_QUALITY_NEAREST);
    bool ok = large.SaveFile(png, wxBITMAP_TYPE_PNG);
    wxFile file;
    ok = file.Create(raw, true) && file.Write(string, sizeof string) == sizeof string && ok;
    if (!ok) {
        wxLogError(_(wxT("Die Teletextseite konnte nicht in %s gespeichert werden.")), dir);
        return wxString();
    }
    return png;
}
