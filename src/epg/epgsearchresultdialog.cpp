#include "epg/epgsearchresultdialog.h"

#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "app/globals.h"
#include "app/seams.h"
#include "epg/epgdialog.h"
#include "epg/epgdialogs.h"
#include "epg/epglistctrl.h"
#include "epg/epgrules.h"
#include "webif/current.h"
#include "webif/webif.h"

wxBEGIN_EVENT_TABLE(MyEPGSearchResultDialog, wxDialog)
    EVT_LIST_ITEM_SELECTED(XRCID("ID_LISTCTRL_EPG1"), MyEPGSearchResultDialog::OnItemSelected)
    EVT_LIST_ITEM_RIGHT_CLICK(XRCID("ID_LISTCTRL_EPG1"), MyEPGSearchResultDialog::OnItemRightClick)
    EVT_LIST_ITEM_ACTIVATED(XRCID("ID_LISTCTRL_EPG1"), MyEPGSearchResultDialog::OnItemActivated)
    EVT_LIST_COL_BEGIN_DRAG(XRCID("ID_LISTCTRL_EPG1"), MyEPGSearchResultDialog::OnColBeginDrag)
    EVT_MENU(wxID_ANY, MyEPGSearchResultDialog::OnMenu)
    EVT_COMMAND(wxID_ANY, wxEVT_KEY, MyEPGSearchResultDialog::OnKey)
    EVT_CLOSE(MyEPGSearchResultDialog::OnClose)
wxEND_EVENT_TABLE()

namespace {

constexpr int kListWidth = 650;
constexpr int kRows = 15;

} // namespace

MyEPGSearchResultDialog::MyEPGSearchResultDialog(bool byTime, const wxString& request)
{
    if (!wxXmlResource::Get()->LoadDialog(this, EPGDialogParent(), wxT("ID_DIALOG_EPGSEARCHRESULT")))
        return;
    searchMenu = wxXmlResource::Get()->LoadMenu(wxT("ID_MENU_EPGSEARCH"));
    panel = XRCCTRL(*this, "ID_PANEL", wxPanel);
    list = XRCCTRL(*this, "ID_LISTCTRL_EPG1", MyEPGListCtrl);
    text = XRCCTRL(*this, "ID_TEXTCTRL_EPG1", wxTextCtrl);
    if (!list || !text)
        return;

    wxString shown = request, bRef, moment;
    if (byTime)
        SplitTimeSearchText(request, shown, bRef, moment);
    SetBoxLabel(this, "ID_BOXSIZER1", wxString::Format(wxT(" Trefferübersicht [ %s ] "), shown));

    list->InsertColumn(0, wxString(), wxLIST_FORMAT_LEFT, 1);
    list->InsertColumn(1, _(wxT("Datum")), wxLIST_FORMAT_CENTRE);
    list->InsertColumn(2, _(wxT("Beginn")), wxLIST_FORMAT_CENTRE);
    list->InsertColumn(3, _(wxT("Dauer")), wxLIST_FORMAT_CENTRE);
    list->InsertColumn(4, _(wxT("Sender")), wxLIST_FORMAT_CENTRE);
    list->InsertColumn(5, _(wxT("Titel")), wxLIST_FORMAT_LEFT);
    list->SetCells([this](long row, long column) {
        return row < (long)rows_.size() ? EventCell(*rows_[row], column, true) : wxString();
    });

    loaded = getEPGSearch(byTime, request);
    if (!loaded)
        ZPMessageBox(wxString::Format(_(wxT("Die Suche nach \"%s\" war leider ergebnislos...")), shown),
                     wxOK | wxICON_WARNING, GetParent());

    const int height = GrowListToRows(list, kListWidth, kRows);
    list->SetMinSize(wxSize(kListWidth, height + 2));
    list->SetColumnWidth(5, RestColumnWidth(list, kListWidth, 4, kRows));
    SetTenLineHeight(text);
    list->Bind(wxEVT_SIZE, &MyEPGSearchResultDialog::OnResize, this);
    if (GetSizer())
        GetSizer()->Fit(this);
    CentreOnParent();
    if (panel)
        panel->SetFocus();
}

MyEPGSearchResultDialog::~MyEPGSearchResultDialog()
{
    if (list)
        list->SetCells(nullptr);
    delete searchMenu;
}

MyEPGListCtrlItemData* MyEPGSearchResultDialog::rowData(long row) const
{
    return row >= 0 && row < (long)rows_.size() ? rows_[row] : nullptr;
}

bool MyEPGSearchResultDialog::getEPGSearch(bool byTime, const wxString& request)
{
    wxString path;
    if (byTime) {
        wxString shown, bRef, moment;
        if (!SplitTimeSearchText(request, shown, bRef, moment))
            return false;
        path = EPGBouquetAtPath(bRef, moment);
    } else {
        path = EPGSearchPath(request);
    }
    if (!getWebIF(path))
        return false;
    std::vector<EventFields> events;
    ParseEventList(result, events);

    payloads_.clear();
    rows_.clear();
    bool anyStart = false;
    for (size_t i = 0; i < events.size(); ++i) {
        payloads_.emplace_back(new MyEPGListCtrlItemData(events[i], (int)i));
        rows_.push_back(payloads_.back().get());
        if (!events[i].start.empty())
            anyStart = true;
    }
    list->ShowRows((long)rows_.size());
    FitEventColumns(list, rows_, true);
    SelectRow(list, 0);
    return anyStart;
}

void MyEPGSearchResultDialog::OnItemSelected(wxListEvent& event)
{
    selected = event.GetIndex();
    if (const MyEPGListCtrlItemData* row = rowData(selected))
        ShowEventDetails(this, text, *row);
}

void MyEPGSearchResultDialog::OnItemRightClick(wxListEvent& event)
{
    if (event.GetIndex() >= 0) {
        selected = event.GetIndex();
        list->SetItemState(selected, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    }
    if (searchMenu)
        PopupMenu(searchMenu);
}

void MyEPGSearchResultDialog::OnItemActivated(wxListEvent& event)
{
    if (event.GetIndex() >= 0)
        selected = event.GetIndex();
    if (const MyEPGListCtrlItemData* row = rowData(selected))
        PlayService(row->getServiceReference());
}

void MyEPGSearchResultDialog::OnColBeginDrag(wxListEvent& event)
{
    if (event.GetColumn() == 0)
        event.Veto();
}

void MyEPGSearchResultDialog::OnMenu(wxCommandEvent& event)
{
    const MyEPGListCtrlItemData* row = rowData(selected);
    if (!row)
        return;
    const int id = event.GetId();
    if (id == XRCID("ID_MENUITEM_RECORD") || id == XRCID("ID_MENUITEM_ZAP")) {
        AddTimerForEvent(this, *row, id == XRCID("ID_MENUITEM_ZAP"));
    } else if (id == XRCID("ID_MENUITEM_REMINDER")) {
        SetEventReminder(this, row->getServiceReference(), row->getEventStart(), row->getEventTitle(), 61);
    } else if (id == XRCID("ID_MENUITEM_PLAY")) {
        PlayService(row->getServiceReference());
    } else if (id == XRCID("ID_MENUITEM_EPG")) {
        auto* dialog = new MyEPGDialog(row->getServiceReference());
        if (dialog->loaded)
            dialog->ShowModal();
        dialog->Destroy();
    }
}

void MyEPGSearchResultDialog::OnKey(wxCommandEvent& event)
{
    HandleDialogKey(this, event, wxT("EPG-Suche.htm"));
}

void MyEPGSearchResultDialog::OnClose(wxCloseEvent&)
{
    CloseGuideDialog(this);
}

void MyEPGSearchResultDialog::OnResize(wxSizeEvent& event)
{
    list->SetColumnWidth(5, RestColumnWidth(list, event.GetSize().x, 4, kRows));
    event.Skip();
}
