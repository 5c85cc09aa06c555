// "Bouquet-Programmvorschau": the running and the following event of every
// service of a bouquet, with details, the service's picon and the progress
// of the running event, refreshed every second.
#pragma once

#include <memory>
#include <vector>
#include <wx/dialog.h>
#include <wx/listbase.h>
#include <wx/timer.h>
#include <wx/treebase.h>

#include "epg/epgitemdata.h"

class MyEPGListCtrl;
class wxGauge;
class wxMenu;
class wxPanel;
class wxStaticBitmap;
class wxStaticText;
class wxTextCtrl;

class MyMultiEPGDialog : public wxDialog {
public:
    // bRef: the bouquet's reference as the receiver wrote it; item: its
    // node in the main window's channel tree.
    MyMultiEPGDialog(const wxString& name, const wxString& bRef, const wxTreeItemId& item);
    ~MyMultiEPGDialog() override;

    bool loaded = false;
    int selected = 0;
    wxTreeItemId bouquetItem;
    wxPanel* panel = nullptr;
    MyEPGListCtrl* list = nullptr;         // ID_LISTCTRL_OVERVIEW
    wxTextCtrl* nowText = nullptr;         // ID_TEXTCTRL_NOW
    wxTextCtrl* nextText = nullptr;        // ID_TEXTCTRL_NEXT
    wxStaticText* dateText = nullptr;      // ID_STATIC_DATE
    wxStaticText* timeText = nullptr;      // ID_STATIC_TIME
    wxStaticText* durationText = nullptr;  // ID_STATIC_DURATION
    wxStaticText* endText = nullptr;       // ID_STATIC_END
    wxGauge* gauge = nullptr;              // ID_GAUGE_PROGRESS
    wxStaticBitmap* picon = nullptr;       // ID_STATIC_PICON
    wxMenu* menu = nullptr;                // ID_MENU_MULTIEPG
    wxTimer timer;                         // id 1, every second

    // next false: "epgnow" makes the rows; true: "epgnext" fills them in.
    bool getMultiEPG(bool next, const wxString& bRef);
    // The halves after the request: the reply's events without markers, and
    // those events into the rows; true when an event has a start.
    static std::vector<EventFields> ReadBouquetEvents(const wxString& xml);
    bool fillRows(bool next, const std::vector<EventFields>& events);
    MyMultiEPGListCtrlItemData* rowData(long row) const;
    // The text a row shows in a column.
    wxString cell(long row, int column) const;

    void OnItemSelected(wxListEvent& event);
    void OnItemRightClick(wxListEvent& event);
    void OnItemActivated(wxListEvent& event);
    void OnColBeginDrag(wxListEvent& event);
    void OnMenu(wxCommandEvent& event);
    void Timer(wxTimerEvent& event);
    void OnKey(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnResize(wxSizeEvent& event);

private:
    void Refresh1s();
    void Play();
    void SetHalfWidths(int listWidth);
    // A row for the service of ev; running: ev is its running event.
    long AddRow(const EventFields& ev, bool running);

    struct Row {
        std::unique_ptr<MyMultiEPGListCtrlItemData> data;
        wxString cells[6];
    };
    std::vector<Row> rows_;
    wxDECLARE_EVENT_TABLE();
};
