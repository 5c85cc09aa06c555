#include "epg/epgdialog.h"

#include <algorithm>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "app/globals.h"
#include "app/seams.h"
#include "epg/epgdialogs.h"
#include "epg/epglistctrl.h"
#include "webif/current.h"
#include "webif/webif.h"

EPGSortModes MyEPGDialog::sortModes;

wxBEGIN_EVENT_TABLE(MyEPGDialog, wxDialog)
    EVT_LIST_ITEM_SELECTED(XRCID("ID_LISTCTRL_EPG1"), MyEPGDialog::OnItemSelected)
    EVT_LIST_ITEM_RIGHT_CLICK(XRCID("ID_LISTCTRL_EPG1"), MyEPGDialog::OnItemRightClick)
    EVT_LIST_COL_BEGIN_DRAG(XRCID("ID_LISTCTRL_EPG1"), MyEPGDialog::OnColBeginDrag)
    EVT_LIST_COL_CLICK(XRCID("ID_LISTCTRL_EPG1"), MyEPGDialog::OnColLeftClick)
    EVT_MENU(wxID_ANY, MyEPGDialog::OnMenuAddTimer)
    EVT_COMMAND(wxID_ANY, wxEVT_KEY, MyEPGDialog::OnKey)
    EVT_CLOSE(MyEPGDialog::OnClose)
wxEND_EVENT_TABLE()

namespace {

constexpr int kListWidth = 550;
constexpr int kRows = 15;


} // namespace

MyEPGDialog::MyEPGDialog(const wxString& sRef)
{
    loaded = false;
    if (!wxXmlResource::Get()->LoadDialog(this, EPGDialogParent(), wxT("ID_DIALOG_EPG")))
        return;
    timerMenu = wxXmlResource::Get()->LoadMenu(wxT("ID_MENU_TIMER"));
    panel = XRCCTRL(*this, "ID_PANEL", wxPanel);
    list = XRCCTRL(*this, "ID_LISTCTRL_EPG1", MyEPGListCtrl);
    text = XRCCTRL(*this, "ID_TEXTCTRL_EPG1", wxTextCtrl);
    if (!list || !text)
        return;
    list->InsertColumn(0, wxString(), wxLIST_FORMAT_LEFT, 1);
    list->InsertColumn(1, _(wxT("Datum")), wxLIST_FORMAT_CENTRE);
    list->InsertColumn(2, _(wxT("Beginn")), wxLIST_FORMAT_CENTRE);
    list->InsertColumn(3, _(wxT("Dauer")), wxLIST_FORMAT_CENTRE);
    list->InsertColumn(4, _(wxT("Titel")), wxLIST_FORMAT_LEFT);
    list->SetCells([this](long row, long column) {
        return row < (long)rows_.size() ? EventCell(*rows_[row], column, false) : wxString();
    });

    const int height = GrowListToRows(list, kListWidth, kRows);
    list->SetMinSize(wxSize(kListWidth, height + 2));
    SetTenLineHeight(text);

    loaded = getEPG(sRef);
    if (!loaded)
        ZPMessageBox(_(wxT("Es ist keine Programmvorschau für diesen Sender verfügbar.")),
                     wxOK | wxICON_WARNING, GetParent());

    list->SetColumnWidth(4, RestColumnWidth(list, kListWidth, 4, kRows));
    list->Bind(wxEVT_SIZE, &MyEPGDialog::OnResize, this);
    if (GetSizer())
        GetSizer()->Fit(this);
    CentreOnParent();
    if (panel)
        panel->Layout();
}

MyEPGDialog::~MyEPGDialog()
{
    // The list goes after the rows; it must not ask for them any more.
    if (list)
        list->SetCells(nullptr);
    delete timerMenu;
}

MyEPGListCtrlItemData* MyEPGDialog::rowData(long row) const
{
    return row >= 0 && row < (long)rows_.size() ? rows_[row] : nullptr;
}

bool MyEPGDialog::getEPG(const wxString& sRef)
{
    if (!getWebIF(EPGServicePath(sRef)))
        return false;
    const bool any = readEvents(result);
    fillList();
    return any;
}

bool MyEPGDialog::readEvents(const wxString& xml)
{
    std::vector<EventFields> events;
    ParseEventList(xml, events);
    payloads_.clear();
    payloads_.reserve(events.size());
    serviceName_.clear();
    bool anyStart = false;
    for (size_t i = 0; i < events.size(); ++i) {
        payloads_.emplace_back(new MyEPGListCtrlItemData(events[i], (int)i));
        if (!payloads_.back()->getServiceName().empty())
            serviceName_ = payloads_.back()->getServiceName();
        if (!events[i].start.empty())
            anyStart = true;
    }
    return anyStart;
}

void MyEPGDialog::fillList()
{
    rows_.clear();
    for (const auto& row : payloads_)
        rows_.push_back(row.get());
    list->ShowRows((long)rows_.size());
    FitEventColumns(list, rows_, false);

    SelectRow(list, 0);
    SetBoxLabel(this, "ID_BOXSIZER1", wxString::Format(wxT(" Senderübersicht [ %s ] "), serviceName_));
}

void MyEPGDialog::OnItemSelected(wxListEvent& event)
{
    selected = event.GetIndex();
    if (const MyEPGListCtrlItemData* row = rowData(selected))
        ShowEventDetails(this, text, *row);
}

void MyEPGDialog::OnItemRightClick(wxListEvent& event)
{
    // The menu works on the row under the mouse.
    if (event.GetIndex() >= 0) {
        selected = event.GetIndex();
        list->SetItemState(selected, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    }
    if (timerMenu)
        PopupMenu(timerMenu);
}

void MyEPGDialog::OnColBeginDrag(wxListEvent& event)
{
    if (event.GetColumn() == 0)
        event.Veto();
}

int MyEPGDialog::SortColum(const MyEPGListCtrlItemData* item1, const MyEPGListCtrlItemData* item2,
                           long column)
{
    return CompareEPGRows(item1->sortKey(), item2->sortKey(), (int)column, sortModes);
}

void MyEPGDialog::OnColLeftClick(wxListEvent& event)
{
    const int column = event.GetColumn();
    if (column < 1 || column > 4)
        return;
    FlipSortMode(sortModes, column);
    MyEPGListCtrlItemData* chosen = rowData(selected);
    std::sort(rows_.begin(), rows_.end(), [column](const MyEPGListCtrlItemData* a, const MyEPGListCtrlItemData* b) {
        return SortColum(a, b, column) < 0;
    });
    list->Refresh();
    // The chosen event stays chosen wherever it went.
    const auto at = std::find(rows_.begin(), rows_.end(), chosen);
    if (chosen && at != rows_.end() && at - rows_.begin() != selected) {
        list->SetItemState(selected, 0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
        selected = (int)(at - rows_.begin());
        list->SetItemState(selected, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                           wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
        list->EnsureVisible(selected);
    }
}

void MyEPGDialog::OnMenuAddTimer(wxCommandEvent& event)
{
    const MyEPGListCtrlItemData* row = rowData(selected);
    if (!row)
        return;
    const int id = event.GetId();
    if (id == XRCID("ID_MENUITEM_RECORD") || id == XRCID("ID_MENUITEM_ZAP"))
        AddTimerForEvent(this, *row, id == XRCID("ID_MENUITEM_ZAP"));
    else if (id == XRCID("ID_MENUITEM_REMINDER"))
        SetEventReminder(this, row->getServiceReference(), row->getEventStart(), row->getEventTitle(), 61);
}

void MyEPGDialog::OnKey(wxCommandEvent& event)
{
    HandleDialogKey(this, event, wxT("Sender-EPG.htm"));
}

void MyEPGDialog::OnClose(wxCloseEvent&)
{
    CloseGuideDialog(this);
}

void MyEPGDialog::OnResize(wxSizeEvent& event)
{
    list->SetColumnWidth(4, RestColumnWidth(list, event.GetSize().x, 4, kRows));
    event.Skip();
}
