// "Programmvorschau-Suchergebnisse": the hits of a title search or the
// events of a bouquet at one moment, with the channel guide's actions plus
// playing the service and opening its guide.
#pragma once

#include <memory>
#include <vector>
#include <wx/dialog.h>
#include <wx/listbase.h>

#include "epg/epgitemdata.h"

class MyEPGListCtrl;
class wxMenu;
class wxPanel;
class wxTextCtrl;

class MyEPGSearchResultDialog : public wxDialog {
public:
    // byTime false: text is the search term; true: the time-search request
    // text (see TimeSearchText).
    MyEPGSearchResultDialog(bool byTime, const wxString& text);
    ~MyEPGSearchResultDialog() override;

    bool loaded = false;
    int selected = 0;
    wxPanel* panel = nullptr;
    wxMenu* searchMenu = nullptr;   // ID_MENU_EPGSEARCH
    MyEPGListCtrl* list = nullptr;  // ID_LISTCTRL_EPG1
    wxTextCtrl* text = nullptr;     // ID_TEXTCTRL_EPG1

    bool getEPGSearch(bool byTime, const wxString& text);
    MyEPGListCtrlItemData* rowData(long row) const;

    void OnItemSelected(wxListEvent& event);
    void OnItemRightClick(wxListEvent& event);
    void OnItemActivated(wxListEvent& event);
    void OnColBeginDrag(wxListEvent& event);
    void OnMenu(wxCommandEvent& event);
    void OnKey(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnResize(wxSizeEvent& event);

private:
    std::vector<std::unique_ptr<MyEPGListCtrlItemData>> payloads_;
    std::vector<MyEPGListCtrlItemData*> rows_;
    wxDECLARE_EVENT_TABLE();
};
