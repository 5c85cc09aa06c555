// "Sender-Programmvorschau": every event the receiver holds for one service,
// sortable, with details and a menu that turns an event into a timer or a
// reminder.
#pragma once

#include <memory>
#include <vector>
#include <wx/dialog.h>
#include <wx/listbase.h>

#include "epg/epgitemdata.h"
#include "epg/epgrules.h"

class MyEPGListCtrl;
class wxMenu;
class wxPanel;
class wxTextCtrl;

class MyEPGDialog : public wxDialog {
public:
    explicit MyEPGDialog(const wxString& sRef);
    ~MyEPGDialog() override;

    bool loaded = false;
    int selected = 0;            // row whose payload the menu works on
    wxPanel* panel = nullptr;    // ID_PANEL
    wxMenu* timerMenu = nullptr; // ID_MENU_TIMER
    MyEPGListCtrl* list = nullptr;  // ID_LISTCTRL_EPG1
    wxTextCtrl* text = nullptr;  // ID_TEXTCTRL_EPG1

    // Sort directions of the columns, kept for every guide of the process.
    static EPGSortModes sortModes;

    // Fills the list from "epgservice"; true when events were read.
    bool getEPG(const wxString& sRef);
    // The two halves after the request: the reply into row payloads, and
    // the rows into the list; true when an event has a start.
    bool readEvents(const wxString& xml);
    void fillList();
    // The payload of a row (null outside the list).
    MyEPGListCtrlItemData* rowData(long row) const;

    void OnItemSelected(wxListEvent& event);
    void OnItemRightClick(wxListEvent& event);
    void OnColBeginDrag(wxListEvent& event);
    void OnColLeftClick(wxListEvent& event);
    void OnMenuAddTimer(wxCommandEvent& event);
    void OnKey(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnResize(wxSizeEvent& event);

    // The list's comparator: negative when item1 goes before item2.
    static int SortColum(const MyEPGListCtrlItemData* item1, const MyEPGListCtrlItemData* item2,
                         long column);

private:
    std::vector<std::unique_ptr<MyEPGListCtrlItemData>> payloads_;
    std::vector<MyEPGListCtrlItemData*> rows_;   // in the order shown
    wxString serviceName_;
    wxDECLARE_EVENT_TABLE();
};
