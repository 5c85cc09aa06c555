#include "epg/epgdialogs.h"

#include <algorithm>
#include <set>
#include <wx/dialog.h>
#include <wx/html/helpctrl.h>
#include <wx/listctrl.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/guards.h"
#include "app/seams.h"
#include "epg/epgitemdata.h"
#include "epg/epglistctrl.h"
#include "epg/epgrules.h"
#include "epg/timerrules.h"
#include "mainwindow/mainframe.h"
#include "mainwindow/videoframe.h"
#include "webif/itemdata.h"
#include "webif/webif.h"

wxWindow* EPGDialogParent()
{
    if (MainFrame && MainFrame->videoTarget == 1 && VideoFrame)
        return (wxWindow*)VideoFrame;
    return MainFrame;
}

void SetBoxLabel(wxWindow* dialog, const char* name, const wxString& label)
{
    auto* box = dynamic_cast<wxStaticBox*>(dialog->FindWindow(XRCID(name)));
    if (box)
        box->SetLabel(label);
}

void StripeRows(wxListCtrl* list)
{
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    const wxColour window = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);
    const int n = list->GetItemCount();
    for (int i = 0; i < n; ++i)
        list->SetItemBackgroundColour(i, i % 2 ? face : window);
}

int GrowListToRows(wxListCtrl* list, int width, int rows)
{
    int height = list->GetSize().y;
    if (height < 20)
        height = 20;
    list->SetSize(width, height);
    // A list without rows still knows its line height from the font.
    for (int guard = 0; list->GetCountPerPage() < rows && guard < 4000; ++guard)
        list->SetSize(width, ++height);
    return height;
}

int RestColumnWidth(wxListCtrl* list, int listWidth, int margin, int visibleRows)
{
    int width = listWidth - margin;
    for (int c = 0; c < list->GetColumnCount() - 1; ++c)
        width -= list->GetColumnWidth(c);
    if (list->GetItemCount() > visibleRows)
        width -= wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, list);
    return width > 20 ? width : 20;
}

void FitColumn(wxListCtrl* list, int column)
{
    list->SetColumnWidth(column, wxLIST_AUTOSIZE);
    const int content = list->GetColumnWidth(column);
    list->SetColumnWidth(column, wxLIST_AUTOSIZE_USEHEADER);
    if (list->GetColumnWidth(column) < content)
        list->SetColumnWidth(column, content);
}

wxString EventCell(const MyEPGListCtrlItemData& row, long column, bool withService)
{
    const time_t start = (time_t)row.sortKey().start;
    switch (column) {
    case 1: return EPGDateText(start);
    case 2: return EPGTimeText(start);
    case 3: return EPGDurationText((long)row.sortKey().duration);
    case 4: return withService ? row.getServiceName() : row.getEventTitle();
    case 5: return withService ? row.getEventTitle() : wxString();
    }
    return wxString();
}

void FitEventColumns(MyEPGListCtrl* list, const std::vector<MyEPGListCtrlItemData*>& rows, bool withService)
{
    // Dates and times are all as wide; the longest duration and each
    // service name once stand for their columns.
    std::vector<wxString> date, time, duration;
    std::set<wxString> services;
    long long longest = 0;
    for (const MyEPGListCtrlItemData* row : rows) {
        longest = std::max(longest, row->sortKey().duration);
        if (withService)
            services.insert(row->getServiceName());
    }
    if (!rows.empty()) {
        date.push_back(EventCell(*rows.front(), 1, false));
        time.push_back(EventCell(*rows.front(), 2, false));
    }
    duration.push_back(EPGDurationText((long)longest));
    list->SetColumnWidth(1, list->FitWidth(1, date));
    list->SetColumnWidth(2, list->FitWidth(2, time));
    list->SetColumnWidth(3, list->FitWidth(3, duration));
    if (withService)
        list->SetColumnWidth(4, list->FitWidth(4, std::vector<wxString>(services.begin(), services.end())));
}

void SelectRow(wxListCtrl* list, long row)
{
    if (row >= 0 && row < list->GetItemCount())
        list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                           wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
}

void ShowHelpPage(const wxString& page)
{
    if (MainFrame && MainFrame->help)
        MainFrame->help->Display(page);
}

void HandleDialogKey(wxDialog* dialog, wxCommandEvent& event, const wxString& helpPage)
{
    if (event.GetId() == WXK_ESCAPE)
        dialog->Close();
    else if (event.GetId() == WXK_F1)
        ShowHelpPage(helpPage);
    event.Skip();
}

void CloseGuideDialog(wxDialog* dialog)
{
    if (dialog->IsModal())
        dialog->EndModal(0);
    else
        dialog->Hide();
}

void SetTenLineHeight(wxTextCtrl* text)
{
    if (text)
        text->SetMinSize(wxSize(-1, 10 * text->GetCharHeight() + 6));
}

void ShowEventDetails(wxWindow* dialog, wxTextCtrl* text, const MyEPGListCtrlItemData& row)
{
    SetBoxLabel(dialog, "ID_BOXSIZER2",
                wxString::Format(wxT(" Sendungsdetail [ %s ] "), row.getEventDescription()));
    if (!text)
        return;
    text->SetValue(row.getEventDescriptionExtended());
    if (!config.epgsimilar || !MainFrame)
        return;
    ZPYield();
    const wxString similar = MainFrame->getEPGSimilar(row.getServiceReference(), row.getEventId());
    if (!similar.empty())
        text->SetValue(row.getEventDescriptionExtended() + _(wxT("\n\nÄhnliche Sendungen:")) + similar);
    text->ShowPosition(0);
}

void AddTimerForEvent(wxWindow* parent, const MyEPGListCtrlItemData& row, bool zap)
{
    const wxString path = TimerAddByEventPath(row.getServiceReference(), row.getEventId(), zap,
                                              config.timerdir, config.timertag);
    const bool sent = getWebIF(path);
    const CommandAnswer answer = ReadCommandAnswer(sent ? result : wxString());
    if (!answer.ok) {
        wxString text = wxString::Format(
            _(wxT("Die gewählte Sendung\n\n\"%s\"\n\nkonnte nicht hinzugefügt werden!")),
            row.getEventTitle());
        // The receiver says why (a conflict, an event already over, ...).
        if (!answer.text.empty())
            text += wxT("\n\n") + answer.text;
        ZPMessageBox(text, wxOK | wxICON_ERROR, parent);
        return;
    }
    ZPMessageBox(wxString::Format(
                     zap ? _(wxT("Die gewählte Sendung\n\n\"%s\"\n\nwurde als Umschalt-Timer hinzugefügt."))
                         : _(wxT("Die gewählte Sendung\n\n\"%s\"\n\nwurde als Aufnahme-Timer hinzugefügt.")),
                     row.getEventTitle()),
                 wxOK | wxICON_INFORMATION, parent);
}

void SetEventReminder(wxWindow* parent, const wxString& sRef, const wxString& start,
                      const wxString& title, long long secondsBelow)
{
    long long begin = 0;
    const bool known = ParseSeconds(start, begin);
    const long long d = begin - (long long)EPGNow();
    if (!known || d < 0) {
        ZPMessageBox(_(wxT("Diese Sendung läuft bereits.")), wxOK | wxICON_ERROR, parent);
        return;
    }
    if (MainFrame)
        MainFrame->SetReminder(new MyChannelItemData(ReminderMode(sRef), sRef, wxString()), d);
    ZPMessageBox(ReminderMessage(d, title, secondsBelow), wxOK | wxICON_INFORMATION, parent);
}

void PlayService(const wxString& sRef)
{
    if (!MainFrame)
        return;
    MyChannelItemData payload(ReminderMode(sRef), sRef, wxString());
    MainFrame->previousItem = MainFrame->currentItem;
    MainFrame->SwitchService(&payload);
}
