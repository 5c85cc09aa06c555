#include "epg/epgdialog.h"

#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "app/globals.h"
#include "app/seams.h"
#include "epg/epgdialogs.h"
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
    list = XRCCTRL(*this, "ID_LISTCTRL_EPG1", wxListCtrl);
    text = XRCCTRL(*this, "ID_TEXTCTRL_EPG1", wxTextCtrl);
    if (!list || !text)
        return;
    list->InsertColumn(0, wxString(), wxLIST_FORMAT_LEFT, 1);
    list->InsertColumn(1, _(wxT("Datum")), wxLIST_FORMAT_CENTRE);
    list->InsertColumn(2, _(wxT("Beginn")), wxLIST_FORMAT_CENTRE);
    list->InsertColumn(3, _(wxT("Dauer")), wxLIST_FORMAT_CENTRE);
    list->InsertColumn(4, _(wxT("Titel")), wxLIST_FORMAT_LEFT);

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
    // The list goes with the dialog; its pointers to the payloads must not outlive them.
    if (list)
        list->DeleteAllItems();
    delete timerMenu;
}

MyEPGListCtrlItemData* MyEPGDialog::rowData(long row) const
{
    return ListPayload<MyEPGListCtrlItemData>(list, row);
}

bool MyEPGDialog::getEPG(const wxString& sRef)
{
    if (!getWebIF(EPGServicePath(sRef)))
        return false;
    std::vector<EventFields> events;
    ParseEventList(result, events);

    list->Freeze();
    list->DeleteAllItems();
    payloads_.clear();
    wxString serviceName;
    bool anyStart = false;
    for (size_t i = 0; i < events.size(); ++i) {
        const EventFields& ev = events[i];
        payloads_.emplace_back(new MyEPGListCtrlItemData(ev, (int)i));
        const MyEPGListCtrlItemData* row = payloads_.back().get();
        AppendEventRow(list, row, false);
        if (!ev.serviceName.empty())
            serviceName = ev.serviceName;
        if (!ev.start.empty())
            anyStart = true;
    }
    StripeRows(list);
    for (int c = 1; c <= 3; ++c)
        FitColumn(list, c);
    list->Thaw();

    SelectRow(list, 0);
    SetBoxLabel(this, "ID_BOXSIZER1", wxString::Format(wxT(" Senderübersicht [ %s ] "), serviceName));
    return anyStart;
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

int wxCALLBACK MyEPGDialog::SortColum(wxIntPtr item1, wxIntPtr item2, wxIntPtr column)
{
    const auto* a = reinterpret_cast<const MyEPGListCtrlItemData*>(item1);
    const auto* b = reinterpret_cast<const MyEPGListCtrlItemData*>(item2);
    if (!a || !b)
        return 0;
    return CompareEPGRows(a->sortKey(), b->sortKey(), (int)column, sortModes);
}

void MyEPGDialog::OnColLeftClick(wxListEvent& event)
{
    const int column = event.GetColumn();
    if (column < 1 || column > 4)
        return;
    FlipSortMode(sortModes, column);
    list->SortItems(SortColum, column);
    StripeRows(list);
    const long sel = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    if (sel >= 0)
        selected = (int)sel;
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
    if (event.GetId() == WXK_ESCAPE)
        Close();
    else if (event.GetId() == WXK_F1)
        ShowHelpPage(wxT("Sender-EPG.htm"));
    event.Skip();
}

void MyEPGDialog::OnClose(wxCloseEvent&)
{
    if (IsModal())
        EndModal(0);
    else
        Hide();
}

void MyEPGDialog::OnResize(wxSizeEvent& event)
{
    list->SetColumnWidth(4, RestColumnWidth(list, event.GetSize().x, 4, kRows));
    event.Skip();
}
