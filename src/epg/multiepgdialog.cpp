#include "epg/multiepgdialog.h"

#include <wx/filename.h>
#include <wx/gauge.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/guards.h"
#include "app/seams.h"
#include "epg/epgdialog.h"
#include "epg/epgdialogs.h"
#include "epg/epglistctrl.h"
#include "epg/epgrules.h"
#include "mainwindow/mainframe.h"
#include "mainwindow/treectrl.h"
#include "stream/streamrules.h"
#include "webif/current.h"
#include "webif/itemdata.h"
#include "webif/services.h"
#include "webif/webif.h"

enum { ID_TIMER_REFRESH = 1 };

wxBEGIN_EVENT_TABLE(MyMultiEPGDialog, wxDialog)
    EVT_LIST_ITEM_SELECTED(XRCID("ID_LISTCTRL_OVERVIEW"), MyMultiEPGDialog::OnItemSelected)
    EVT_LIST_ITEM_RIGHT_CLICK(XRCID("ID_LISTCTRL_OVERVIEW"), MyMultiEPGDialog::OnItemRightClick)
    EVT_LIST_ITEM_ACTIVATED(XRCID("ID_LISTCTRL_OVERVIEW"), MyMultiEPGDialog::OnItemActivated)
    EVT_LIST_COL_BEGIN_DRAG(XRCID("ID_LISTCTRL_OVERVIEW"), MyMultiEPGDialog::OnColBeginDrag)
    EVT_MENU(wxID_ANY, MyMultiEPGDialog::OnMenu)
    EVT_TIMER(ID_TIMER_REFRESH, MyMultiEPGDialog::Timer)
    EVT_COMMAND(wxID_ANY, wxEVT_KEY, MyMultiEPGDialog::OnKey)
    EVT_CLOSE(MyMultiEPGDialog::OnClose)
wxEND_EVENT_TABLE()

namespace {

constexpr int kListWidth = 850;
constexpr int kRows = 15;

enum { COL_NOW_START = 1, COL_NOW_TITLE = 2, COL_SERVICE = 3, COL_NEXT_TITLE = 4, COL_NEXT_START = 5 };

} // namespace

MyMultiEPGDialog::MyMultiEPGDialog(const wxString& name, const wxString& bRef, const wxTreeItemId& item)
    : bouquetItem(item), timer(this, ID_TIMER_REFRESH)
{
    if (!wxXmlResource::Get()->LoadDialog(this, EPGDialogParent(), wxT("ID_DIALOG_MULTIEPG")))
        return;
    menu = wxXmlResource::Get()->LoadMenu(wxT("ID_MENU_MULTIEPG"));
    panel = XRCCTRL(*this, "ID_PANEL", wxPanel);
    list = XRCCTRL(*this, "ID_LISTCTRL_OVERVIEW", MyEPGListCtrl);
    nowText = XRCCTRL(*this, "ID_TEXTCTRL_NOW", wxTextCtrl);
    nextText = XRCCTRL(*this, "ID_TEXTCTRL_NEXT", wxTextCtrl);
    dateText = XRCCTRL(*this, "ID_STATIC_DATE", wxStaticText);
    timeText = XRCCTRL(*this, "ID_STATIC_TIME", wxStaticText);
    durationText = XRCCTRL(*this, "ID_STATIC_DURATION", wxStaticText);
    endText = XRCCTRL(*this, "ID_STATIC_END", wxStaticText);
    gauge = XRCCTRL(*this, "ID_GAUGE_PROGRESS", wxGauge);
    picon = XRCCTRL(*this, "ID_STATIC_PICON", wxStaticBitmap);
    if (!list || !nowText || !nextText)
        return;
    list->InsertColumn(0, wxString(), wxLIST_FORMAT_LEFT, 1);
    list->InsertColumn(COL_NOW_START, _(wxT("Beginn")), wxLIST_FORMAT_CENTRE);
    list->InsertColumn(COL_NOW_TITLE, _(wxT("laufende Sendung")), wxLIST_FORMAT_LEFT);
    list->InsertColumn(COL_SERVICE, _(wxT("Sender")), wxLIST_FORMAT_CENTRE);
    list->InsertColumn(COL_NEXT_TITLE, _(wxT("folgende Sendung")), wxLIST_FORMAT_RIGHT);
    list->InsertColumn(COL_NEXT_START, _(wxT("Beginn")), wxLIST_FORMAT_CENTRE);
    list->SetCells([this](long row, long column) { return cell(row, (int)column); });
    timer.Start(1000);

    const bool now = getMultiEPG(false, bRef);
    const bool next = getMultiEPG(true, bRef);
    for (int c : { int(COL_NOW_START), int(COL_SERVICE), int(COL_NEXT_START) }) {
        std::vector<wxString> texts;
        for (const Row& r : rows_)
            texts.push_back(r.cells[c]);
        list->SetColumnWidth(c, list->FitWidth(c, texts));
    }
    loaded = now || next;
    if (!loaded)
        ZPMessageBox(_(wxT("Es ist keine Programmvorschau für dieses Bouquet verfügbar.")),
                     wxOK | wxICON_WARNING, GetParent());

    const int height = GrowListToRows(list, kListWidth, kRows);
    list->SetMinSize(wxSize(kListWidth, height + 2));
    SetHalfWidths(kListWidth);
    SetTenLineHeight(nowText);
    SetTenLineHeight(nextText);
    SelectRow(list, 0);
    SetBoxLabel(this, "ID_BOXSIZER_OVERVIEW", wxString::Format(wxT(" Bouquetübersicht [ %s ] "), name));
    list->Bind(wxEVT_SIZE, &MyMultiEPGDialog::OnResize, this);
    if (GetSizer())
        GetSizer()->Fit(this);
    CentreOnParent();
    if (panel)
        panel->SetFocus();
}

MyMultiEPGDialog::~MyMultiEPGDialog()
{
    timer.Stop();
    if (list)
        list->SetCells(nullptr);
    delete menu;
}

MyMultiEPGListCtrlItemData* MyMultiEPGDialog::rowData(long row) const
{
    return row >= 0 && row < (long)rows_.size() ? rows_[row].data.get() : nullptr;
}

wxString MyMultiEPGDialog::cell(long row, int column) const
{
    return row >= 0 && row < (long)rows_.size() && column >= 0 && column < 6 ? rows_[row].cells[column]
                                                                              : wxString();
}

long MyMultiEPGDialog::AddRow(const EventFields& ev, bool running)
{
    const wxString ext = running ? StripDVBLineBreaks(ev.descriptionExt) : wxString();
    Row row;
    row.data.reset(new MyMultiEPGListCtrlItemData(InformationOrMissing(ext), ev.sRef, wxString(),
                                                  running ? ev.id : wxString()));
    row.cells[COL_SERVICE] = StripEmphasis(ev.serviceName);
    // Until its pass fills them, both events count as unknown.
    const EventFields none;
    row.cells[COL_NOW_START] = row.cells[COL_NEXT_START] = BouquetTimeText(none);
    row.cells[COL_NOW_TITLE] = row.cells[COL_NEXT_TITLE] = BouquetTitleText(none);
    rows_.push_back(std::move(row));
    return (long)rows_.size() - 1;
}

bool MyMultiEPGDialog::getMultiEPG(bool next, const wxString& bRef)
{
    if (!getWebIF(EPGBouquetNowNextPath(next, bRef)))
        return false;
    return fillRows(next, ReadBouquetEvents(result));
}

std::vector<EventFields> MyMultiEPGDialog::ReadBouquetEvents(const wxString& xml)
{
    std::vector<EventFields> all, events;
    ParseEventList(xml, all);
    events.reserve(all.size());
    for (EventFields& ev : all)
        if (!IsMarkerSRef(ev.sRef))
            events.push_back(std::move(ev));
    return events;
}

bool MyMultiEPGDialog::fillRows(bool next, const std::vector<EventFields>& events)
{
    // the running events make the rows afresh
    if (!next)
        rows_.clear();

    // Following events belong to the row of their service, whatever their
    // position in the reply.
    std::vector<int> rows(events.size(), -1);
    if (next) {
        std::vector<wxString> refs;
        for (const Row& r : rows_)
            refs.push_back(r.data->getEventServiceReference());
        rows = MatchRowsByService(refs, events);
    }

    bool anyStart = false;
    for (size_t i = 0; i < events.size(); ++i) {
        const EventFields& ev = events[i];
        const long row = rows[i] >= 0 ? rows[i] : AddRow(ev, !next);
        MyMultiEPGListCtrlItemData* payload = rowData(row);
        if (!payload)
            continue;
        if (next) {
            payload->setEventDescriptionExtendedNext(InformationOrMissing(StripDVBLineBreaks(ev.descriptionExt)));
            payload->setEventStart(ev.start);
            payload->setEventIdNext(ev.id);
        } else {
            payload->setEventStartNow(ev.start);
        }
        if (!ev.start.empty())
            anyStart = true;
        rows_[row].cells[next ? COL_NEXT_START : COL_NOW_START] = BouquetTimeText(ev);
        rows_[row].cells[next ? COL_NEXT_TITLE : COL_NOW_TITLE] = BouquetTitleText(ev);
    }
    list->ShowRows((long)rows_.size());
    return anyStart;
}

void MyMultiEPGDialog::SetHalfWidths(int listWidth)
{
    int rest = listWidth - 4;
    for (int c : { 0, int(COL_NOW_START), int(COL_SERVICE), int(COL_NEXT_START) })
        rest -= list->GetColumnWidth(c);
    int half = rest / 2;
    list->SetColumnWidth(COL_NOW_TITLE, half > 20 ? half : 20);
    if (list->GetItemCount() > kRows)
        half -= 2 * wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, list);
    list->SetColumnWidth(COL_NEXT_TITLE, half > 20 ? half : 20);
}

void MyMultiEPGDialog::OnItemSelected(wxListEvent& event)
{
    selected = event.GetIndex();
    MyMultiEPGListCtrlItemData* row = rowData(selected);
    if (!row)
        return;
    const wxString service = cell(selected, COL_SERVICE);
    SetBoxLabel(this, "ID_BOXSIZER_DETAILS", wxString::Format(wxT(" Sendungsdetails [ %s ] "), service));
    row->setMode(ReminderMode(row->getEventServiceReference()));
    row->setSRef(row->getEventServiceReference());

    const wxString nowHead = cell(selected, COL_NOW_TITLE) + wxT("\n\n");
    const wxString nextHead = cell(selected, COL_NEXT_TITLE) + wxT("\n\n");
    nowText->SetValue(nowHead + row->getEventDescriptionExtendedNow());
    nextText->SetValue(nextHead + row->getEventDescriptionExtendedNext());
    nowText->ShowPosition(0);
    nextText->ShowPosition(0);
    if (endText)
        endText->SetLabel(cell(selected, COL_NEXT_START));

    if (picon) {
        const wxBitmap bmp = PiconBitmap(row->getEventServiceReference());
        if (bmp.IsOk())
            picon->SetBitmap(bmp);
    }
    SetGaugeValue(gauge, 0);
    Refresh1s();

    if (!config.epgsimilar || !MainFrame)
        return;
    ZPYield();
    const struct { wxTextCtrl* text; wxString id; } panes[] = {
        { nowText, row->getEventIdNow() },
        { nextText, row->getEventIdNext() },
    };
    for (const auto& pane : panes) {
        if (pane.id.empty())
            continue;
        const wxString similar = MainFrame->getEPGSimilar(row->getEventServiceReference(), pane.id);
        if (similar.empty())
            continue;
        pane.text->AppendText(_(wxT("\n\nÄhnliche Sendungen:")) + similar);
        pane.text->ShowPosition(0);
    }
}

void MyMultiEPGDialog::OnItemRightClick(wxListEvent& event)
{
    if (event.GetIndex() >= 0 && event.GetIndex() != selected)
        SelectRow(list, event.GetIndex());
    if (menu)
        PopupMenu(menu);
}

void MyMultiEPGDialog::Play()
{
    MyMultiEPGListCtrlItemData* row = rowData(selected);
    if (!row || !MainFrame)
        return;
    wxTreeCtrl* tree = MainFrame->tree;
    wxTreeItemId found;
    if (tree && bouquetItem.IsOk()) {
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = tree->GetFirstChild(bouquetItem, cookie); c.IsOk();
             c = tree->GetNextChild(bouquetItem, cookie)) {
            auto* channel = dynamic_cast<MyChannelItemData*>(tree->GetItemData(c));
            if (channel && channel->getSRef() == row->getEventServiceReference()) {
                found = c;
                break;
            }
        }
    }
    // A service missing from the tree still plays; the tree keeps its place.
    if (found.IsOk()) {
        tree->SelectItem(found);
        MainFrame->previousItem = MainFrame->currentItem;
        MainFrame->currentItem = found;
    }
    MainFrame->SwitchService(row);
}

void MyMultiEPGDialog::OnItemActivated(wxListEvent& event)
{
    if (event.GetIndex() >= 0)
        selected = event.GetIndex();
    Play();
}

void MyMultiEPGDialog::OnColBeginDrag(wxListEvent& event)
{
    if (event.GetColumn() == 0)
        event.Veto();
}

void MyMultiEPGDialog::OnMenu(wxCommandEvent& event)
{
    const MyMultiEPGListCtrlItemData* row = rowData(selected);
    if (!row)
        return;
    const int id = event.GetId();
    if (id == XRCID("ID_MENUITEM_MULTIEPG_PLAY")) {
        Play();
    } else if (id == XRCID("ID_MENUITEM_MULTIEPG_REMINDER")) {
        SetEventReminder(this, row->getEventServiceReference(), row->getEventStart(),
                         cell(selected, COL_NEXT_TITLE), 60);
    } else if (id == XRCID("ID_MENUITEM_MULTIEPG_EPG")) {
        auto* dialog = new MyEPGDialog(row->getEventServiceReference());
        if (dialog->loaded)
            dialog->ShowModal();
        dialog->Destroy();
    }
}

void MyMultiEPGDialog::Refresh1s()
{
    const time_t now = EPGNow();
    if (dateText)
        dateText->SetLabel(EPGDateText(now));
    if (timeText) {
        struct tm lt;
        localtime_r(&now, &lt);
        timeText->SetLabel(wxString::Format(wxT("%.2d:%.2d:%.2d"), lt.tm_hour, lt.tm_min, lt.tm_sec));
    }
    const MyMultiEPGListCtrlItemData* row = rowData(selected);
    if (!row)
        return;
    long long begin = 0, next = 0;
    const bool hasBegin = ParseSeconds(row->getEventStartNow(), begin);
    const bool hasNext = ParseSeconds(row->getEventStart(), next);
    const BouquetProgress p = ComputeBouquetProgress(hasBegin, begin, hasNext, next, now);
    SetGaugeRange(gauge, p.range);
    SetGaugeValue(gauge, p.value);
    if (durationText)
        durationText->SetLabel(p.duration);
}

void MyMultiEPGDialog::Timer(wxTimerEvent&)
{
    Refresh1s();
}

void MyMultiEPGDialog::OnKey(wxCommandEvent& event)
{
    HandleDialogKey(this, event, wxT("Bouquet-EPG.htm"));
}

void MyMultiEPGDialog::OnClose(wxCloseEvent&)
{
    timer.Stop();
    CloseGuideDialog(this);
}

void MyMultiEPGDialog::OnResize(wxSizeEvent& event)
{
    SetHalfWidths(event.GetSize().x);
    event.Skip();
}
