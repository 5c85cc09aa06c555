#include "epg/timerdialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/datectrl.h>
#include <wx/imaglist.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/seams.h"
#include "epg/epgdialogs.h"
#include "epg/epgrules.h"
#include "epg/timerrules.h"
#include "mainwindow/mainframe.h"
#include "webif/locations.h"
#include "webif/services.h"
#include "webif/webif.h"

wxBEGIN_EVENT_TABLE(MyTimerDialog, wxDialog)
    EVT_LIST_ITEM_SELECTED(XRCID("ID_LISTCTRL_TIMER"), MyTimerDialog::OnItemSelected)
    EVT_LIST_COL_BEGIN_DRAG(XRCID("ID_LISTCTRL_TIMER"), MyTimerDialog::OnColBeginDrag)
    EVT_CHECKBOX(wxID_ANY, MyTimerDialog::OnCheckBox)
    EVT_BUTTON(XRCID("ID_BUTTON_DELETE"), MyTimerDialog::OnButtonDelete)
    EVT_BUTTON(XRCID("ID_BUTTON_CHANGE"), MyTimerDialog::OnButtonChange)
    EVT_BUTTON(XRCID("ID_BUTTON_ENABLE"), MyTimerDialog::OnButtonEnable)
    EVT_BUTTON(XRCID("ID_BUTTON_CLEAN"), MyTimerDialog::OnButtonClean)
    EVT_BUTTON(XRCID("ID_BUTTON_EMPTY"), MyTimerDialog::OnButtonEmpty)
    EVT_COMMAND(wxID_ANY, wxEVT_KEY, MyTimerDialog::OnKey)
    EVT_CLOSE(MyTimerDialog::OnClose)
wxEND_EVENT_TABLE()

namespace {

constexpr int kRows = 10;
const char* const kDayBoxes[7] = {
    "ID_CHECKBOX_MON", "ID_CHECKBOX_TUE", "ID_CHECKBOX_WED", "ID_CHECKBOX_THU",
    "ID_CHECKBOX_FRI", "ID_CHECKBOX_SAT", "ID_CHECKBOX_SUN",
};

void FillNumbers(wxChoice* choice, int count)
{
    if (!choice)
        return;
    for (int i = 0; i < count; ++i)
        choice->Append(wxString::Format(wxT("%.2d"), i));
}

// Selects text in the choice, appending it when the receiver did not list it.
void SelectOrAppend(wxChoice* choice, const wxString& text)
{
    if (!choice)
        return;
    int n = choice->FindString(text, true);
    if (n == wxNOT_FOUND)
        n = choice->Append(text);
    choice->SetSelection(n);
}

void SetTime(wxDatePickerCtrl* date, wxChoice* hour, wxChoice* minute, const wxDateTime& t)
{
    if (!t.IsValid())
        return;
    if (date)
        date->SetValue(t);
    if (hour)
        hour->SetSelection(t.GetHour());
    if (minute)
        minute->SetSelection(t.GetMinute());
}

long long ReadTime(wxDatePickerCtrl* date, wxChoice* hour, wxChoice* minute, const wxDateTime& stored)
{
    const wxDateTime d = date ? date->GetValue() : stored;
    const int h = hour && hour->GetSelection() >= 0 ? hour->GetSelection() : stored.GetHour();
    const int m = minute && minute->GetSelection() >= 0 ? minute->GetSelection() : stored.GetMinute();
    return (long long)LocalMoment(d.GetYear(), d.GetMonth() + 1, d.GetDay(), h, m);
}

wxString ChoiceText(const wxChoice* choice, const wxString& stored)
{
    return choice && choice->GetSelection() != wxNOT_FOUND ? choice->GetStringSelection() : stored;
}

// The box text of a refused command, with the receiver's reason when it gave one.
wxString WithReason(const wxString& text, const CommandAnswer& answer)
{
    return answer.text.empty() ? text : text + wxT("\n\n") + answer.text;
}

} // namespace

MyTimerDialog::MyTimerDialog()
{
    if (!wxXmlResource::Get()->LoadDialog(this, MainFrame, wxT("ID_DIALOG_TIMER")))
        return;
    panel = XRCCTRL(*this, "ID_PANEL", wxPanel);
    list = XRCCTRL(*this, "ID_LISTCTRL_TIMER", wxListCtrl);
    nameText = XRCCTRL(*this, "ID_STATICTEXT_NAME", wxStaticText);
    descriptionText = XRCCTRL(*this, "ID_STATICTEXT_DESCRIPTION", wxStaticText);
    stateText = XRCCTRL(*this, "ID_STATICTEXT_STATE", wxStaticText);
    for (int d = 0; d < 7; ++d)
        day[d] = dynamic_cast<wxCheckBox*>(FindWindow(XRCID(kDayBoxes[d])));
    startDate = XRCCTRL(*this, "ID_DATEPICKERCTRL_STARTDATE", wxDatePickerCtrl);
    endDate = XRCCTRL(*this, "ID_DATEPICKERCTRL_ENDDATE", wxDatePickerCtrl);
    startHour = XRCCTRL(*this, "ID_CHOICE_STARTHOUR", wxChoice);
    startMinute = XRCCTRL(*this, "ID_CHOICE_STARTMINUTE", wxChoice);
    endHour = XRCCTRL(*this, "ID_CHOICE_ENDHOUR", wxChoice);
    endMinute = XRCCTRL(*this, "ID_CHOICE_ENDMINUTE", wxChoice);
    eventChoice = XRCCTRL(*this, "ID_CHOICE_EVENT", wxChoice);
    afterEventChoice = XRCCTRL(*this, "ID_CHOICE_AFTEREVENT", wxChoice);
    locationChoice = XRCCTRL(*this, "ID_CHOICE_LOCATION", wxChoice);
    tagChoice = XRCCTRL(*this, "ID_CHOICE_TAG", wxChoice);
    changeButton = XRCCTRL(*this, "ID_BUTTON_CHANGE", wxButton);
    enableButton = XRCCTRL(*this, "ID_BUTTON_ENABLE", wxButton);
    if (!list)
        return;
    FillNumbers(startHour, 24);
    FillNumbers(endHour, 24);
    FillNumbers(startMinute, 60);
    FillNumbers(endMinute, 60);

    list->InsertColumn(0, wxT("?"), wxLIST_FORMAT_LEFT, 20);
    list->InsertColumn(1, _(wxT("Datum")), wxLIST_FORMAT_CENTRE);
    list->InsertColumn(2, _(wxT("Beginn")), wxLIST_FORMAT_CENTRE);
    list->InsertColumn(3, _(wxT("Ende")), wxLIST_FORMAT_CENTRE);
    list->InsertColumn(4, _(wxT("Dauer")), wxLIST_FORMAT_CENTRE);
    list->InsertColumn(5, _(wxT("Sender")), wxLIST_FORMAT_LEFT);
    auto* images = new wxImageList(16, 16, true, 6);
    for (int i = 0; i < 6; ++i) {
        const wxBitmap bmp = wxXmlResource::Get()->LoadBitmap(wxString::Format(wxT("IMG_TIMER_%d"), i));
        images->Add(bmp.IsOk() ? bmp : wxBitmap(16, 16));
    }
    list->AssignImageList(images, wxIMAGE_LIST_SMALL);

    const int height = GrowListToRows(list, list->GetSize().x, kRows);
    list->SetMinSize(wxSize(list->GetSize().x, height));

    // The receiver's directories and tags go first, so a timer's own entry
    // that the receiver does not list is appended after them.
    if (tagChoice)
        tagChoice->Append(wxString());
    if (!getLocations() && locationChoice && locationChoice->FindString(wxT("/hdd/movie/"), true) == wxNOT_FOUND)
        locationChoice->Append(wxT("/hdd/movie/"));
    if (!getTags() && tagChoice && tagChoice->FindString(wxString(), true) == wxNOT_FOUND)
        tagChoice->Append(wxString());

    loaded = getTimerList() != 0;
    if (!loaded)
        ZPMessageBox(_(wxT("Es sind keine Timereinträge vorhanden.")), wxOK | wxICON_WARNING, GetParent());

    SetColumnWidths(list->GetSize().x);
    list->Bind(wxEVT_SIZE, &MyTimerDialog::OnResize, this);
    if (GetSizer())
        GetSizer()->Fit(this);
    CentreOnParent();
    if (panel)
        panel->Layout();
}

MyTimerDialog::~MyTimerDialog()
{
    if (list)
        list->DeleteAllItems();
}

MyTimerListCtrlItemData* MyTimerDialog::rowData(long row) const
{
    if (!list || row < 0 || row >= list->GetItemCount())
        return nullptr;
    return reinterpret_cast<MyTimerListCtrlItemData*>(list->GetItemData(row));
}

void MyTimerDialog::SetColumnWidths(int listWidth)
{
    for (int c = 1; c <= 4; ++c)
        FitColumn(list, c);
    // column 0 (20) and a margin of 4 come off as well
    list->SetColumnWidth(5, RestColumnWidth(list, listWidth, 4, kRows));
}

int MyTimerDialog::getTimerList()
{
    if (!getWebIF("timerlist"))
        return 0;
    std::vector<TimerEntry> timers;
    bool wellFormed = false;
    const bool ok = ParseTimerList(result, timers, wellFormed);
    if (!wellFormed)
        return 0;
    list->Freeze();
    list->DeleteAllItems();
    payloads_.clear();
    for (const TimerEntry& t : timers) {
        payloads_.emplace_back(new MyTimerListCtrlItemData(
            t.sRef, t.name, t.eit, t.description, wxDateTime((time_t)t.begin), wxDateTime((time_t)t.end),
            t.justplay, t.afterevent, t.state, t.repeated, t.disabled, t.location, t.tags));
        const long n = list->InsertItem(list->GetItemCount(), wxString(),
                                        TimerIcon(t.disabled, t.repeated, t.state));
        list->SetItem(n, 1, EPGDateText((time_t)t.begin));
        list->SetItem(n, 2, EPGTimeText((time_t)t.begin));
        list->SetItem(n, 3, EPGTimeText((time_t)t.end));
        list->SetItem(n, 4, EPGDurationText((long)t.duration));
        list->SetItem(n, 5, t.serviceName);
        list->SetItemPtrData(n, (wxUIntPtr)payloads_.back().get());
    }
    StripeRows(list);
    list->Thaw();
    selected = 0;
    SelectRow(list, 0);
    return ok ? list->GetItemCount() : 0;
}

bool MyTimerDialog::getLocations()
{
    std::vector<wxString> texts;
    if (!RequestLocations(texts))
        return false;
    for (const wxString& t : texts)
        if (locationChoice && locationChoice->FindString(t, true) == wxNOT_FOUND)
            locationChoice->Append(t);
    return true;
}

bool MyTimerDialog::getTags()
{
    if (!getWebIF("gettags"))
        return false;
    std::vector<wxString> texts;
    ParseTextList(result, wxT("e2tags"), wxT("e2tag"), texts);
    for (const wxString& t : texts)
        if (tagChoice && tagChoice->FindString(t, true) == wxNOT_FOUND)
            tagChoice->Append(t);
    return true;
}

void MyTimerDialog::OnItemSelected(wxListEvent& event)
{
    ShowTimer(event.GetIndex());
}

void MyTimerDialog::ShowTimer(long row)
{
    const MyTimerListCtrlItemData* t = rowData(row);
    if (!t)
        return;
    selected = (int)row;
    if (nameText)
        nameText->SetLabelText(t->getEventName());
    if (descriptionText)
        descriptionText->SetLabelText(t->getEventDescription().empty()
                                      ? wxString(_(wxT("keine Beschreibung vorhanden")))
                                      : t->getEventDescription());
    SelectOrAppend(locationChoice, t->getLocation());
    SelectOrAppend(tagChoice, t->getTag());
    for (int d = 0; d < 7; ++d)
        if (day[d])
            day[d]->SetValue(RepeatsOn(t->getRepeated(), d));
    if (stateText)
        stateText->SetLabel(TimerStateWord(t->getEventState(), t->getDisabled()));
    SetTime(startDate, startHour, startMinute, t->getStartTime());
    SetTime(endDate, endHour, endMinute, t->getEndTime());
    // A value without an entry leaves the choice empty; "Ändern" then keeps it.
    if (eventChoice)
        eventChoice->SetSelection(t->getEventType() >= 0 && t->getEventType() < (long)eventChoice->GetCount()
                                      ? (int)t->getEventType() : wxNOT_FOUND);
    if (afterEventChoice)
        afterEventChoice->SetSelection(
            t->getAfterEventType() >= 0 && t->getAfterEventType() < (long)afterEventChoice->GetCount()
                ? (int)t->getAfterEventType() : wxNOT_FOUND);

    const bool editable = t->getEventState() != TIMER_DONE;
    wxWindow* controls[] = { nameText, descriptionText, startHour, startMinute, endHour, endMinute,
                             stateText, eventChoice, afterEventChoice, locationChoice, tagChoice,
                             changeButton };
    for (wxWindow* w : controls)
        if (w)
            w->Enable(editable);
    for (wxCheckBox* box : day)
        if (box)
            box->Enable(editable);
    for (wxDatePickerCtrl* picker : { startDate, endDate })
        if (picker)
            picker->Enable(editable && t->getRepeated() == 0);
    if (enableButton)
        enableButton->Enable(editable || t->getDisabled());
    if (panel)
        panel->Layout();
}

void MyTimerDialog::OnColBeginDrag(wxListEvent& event)
{
    if (event.GetColumn() == 0)
        event.Veto();
}

void MyTimerDialog::OnCheckBox(wxCommandEvent&)
{
    bool any = false;
    for (wxCheckBox* box : day)
        if (box && box->GetValue())
            any = true;
    for (wxDatePickerCtrl* picker : { startDate, endDate })
        if (picker)
            picker->Enable(!any);
}

void MyTimerDialog::Reload()
{
    if (getTimerList() == 0)
        Close();
}

void MyTimerDialog::OnButtonChange(wxCommandEvent&)
{
    const MyTimerListCtrlItemData* t = rowData(selected);
    if (!t)
        return;
    TimerChange c;
    c.begin = ReadTime(startDate, startHour, startMinute, t->getStartTime());
    c.end = ReadTime(endDate, endHour, endMinute, t->getEndTime());
    bool days[7] = {};
    for (int d = 0; d < 7; ++d)
        days[d] = day[d] && day[d]->GetValue();
    c.repeated = RepeatMask(days);
    if (!config.expertmode &&
        ZPMessageBox(wxString::Format(_(wxT("Soll der gewählte Timereintrag\n\n\"%s\"\n\nwirklich geändert werden?")),
                                      t->getEventName()),
                     wxYES_NO | wxICON_QUESTION, this) != wxYES)
        return;
    c.sRef = t->getServiceReference();
    c.name = t->getEventName();
    c.description = t->getEventDescription();
    c.dirname = ChoiceText(locationChoice, t->getLocation());
    c.tags = ChoiceText(tagChoice, t->getTag());
    c.eit = t->getEIT();
    c.disabled = t->getDisabled();
    c.justplay = ChoiceOrStored(eventChoice ? eventChoice->GetSelection() : -1,
                                eventChoice ? (int)eventChoice->GetCount() : 0, t->getEventType());
    c.afterevent = ChoiceOrStored(afterEventChoice ? afterEventChoice->GetSelection() : -1,
                                  afterEventChoice ? (int)afterEventChoice->GetCount() : 0,
                                  t->getAfterEventType());
    c.oldSRef = t->getServiceReference();
    c.oldBegin = t->getStartTime().GetTicks();
    c.oldEnd = t->getEndTime().GetTicks();
    const wxString name = t->getEventName();

    const bool sent = getWebIF(TimerChangePath(c));
    const CommandAnswer answer = ReadCommandAnswer(sent ? result : wxString());
    if (answer.ok) {
        ZPMessageBox(wxString::Format(_(wxT("Der gewählte Timereintrag\n\n\"%s\"\n\nwurde geändert.")), name),
                     wxOK | wxICON_INFORMATION, this);
        Reload();
        return;
    }
    ZPMessageBox(WithReason(wxString::Format(
                                _(wxT("Der gewählte Timereintrag\n\n\"%s\"\n\nkonnte nicht geändert werden!")),
                                name), answer),
                 wxOK | wxICON_ERROR, this);
    // The controls go back to what the receiver holds.
    ShowTimer(selected);
}

void MyTimerDialog::OnButtonEnable(wxCommandEvent&)
{
    const MyTimerListCtrlItemData* t = rowData(selected);
    if (!t)
        return;
    const wxString word = t->getDisabled() ? _(wxT("aktiviert")) : _(wxT("deaktiviert"));
    const wxString name = t->getEventName();
    if (!config.expertmode &&
        ZPMessageBox(wxString::Format(_(wxT("Soll der gewählte Timereintrag\n\n\"%s\"\n\nwirklich %s werden?")),
                                      name, word),
                     wxYES_NO | wxICON_QUESTION, this) != wxYES)
        return;
    TimerChange c;
    c.withLocation = false;
    c.sRef = t->getServiceReference();
    c.begin = t->getStartTime().GetTicks();
    c.end = t->getEndTime().GetTicks();
    c.name = name;
    c.description = t->getEventDescription();
    c.eit = t->getEIT();
    c.disabled = !t->getDisabled();
    c.justplay = t->getEventType();
    c.afterevent = t->getAfterEventType();
    c.repeated = t->getRepeated();
    c.oldSRef = c.sRef;
    c.oldBegin = c.begin;
    c.oldEnd = c.end;
    const bool sent = getWebIF(TimerChangePath(c));
    const CommandAnswer answer = ReadCommandAnswer(sent ? result : wxString());
    if (answer.ok) {
        ZPMessageBox(wxString::Format(_(wxT("Der gewählte Timereintrag\n\n\"%s\"\n\nwurde %s.")), name, word),
                     wxOK | wxICON_INFORMATION, this);
        Reload();
        return;
    }
    ZPMessageBox(WithReason(wxString::Format(
                                _(wxT("Der gewählte Timereintrag\n\n\"%s\"\n\nkonnte nicht %s werden!")), name,
                                word), answer),
                 wxOK | wxICON_ERROR, this);
}

void MyTimerDialog::OnButtonDelete(wxCommandEvent&)
{
    const MyTimerListCtrlItemData* t = rowData(selected);
    if (!t)
        return;
    const wxString name = t->getEventName();
    if (!config.expertmode &&
        ZPMessageBox(wxString::Format(_(wxT("Soll der gewählte Timereintrag\n\n\"%s\"\n\nwirklich gelöscht werden?")),
                                      name),
                     wxYES_NO | wxICON_QUESTION, this) != wxYES)
        return;
    const bool sent = getWebIF(TimerDeletePath(t->getServiceReference(), t->getStartTime().GetTicks(),
                                               t->getEndTime().GetTicks()));
    const CommandAnswer answer = ReadCommandAnswer(sent ? result : wxString());
    if (answer.ok) {
        ZPMessageBox(wxString::Format(_(wxT("Der gewählte Timereintrag\n\n\"%s\"\n\nwurde gelöscht.")), name),
                     wxOK | wxICON_INFORMATION, this);
        Reload();
        return;
    }
    ZPMessageBox(WithReason(wxString::Format(
                                _(wxT("Der gewählte Timereintrag\n\n\"%s\"\n\nkonnte nicht gelöscht werden!")),
                                name), answer),
                 wxOK | wxICON_ERROR, this);
}

bool MyTimerDialog::RemoveTimers(bool (*removes)(long state))
{
    bool complete = true;
    // Rows stay as they are until the loop is over; the list is read again afterwards.
    for (long row = 0; row < list->GetItemCount(); ++row) {
        const MyTimerListCtrlItemData* t = rowData(row);
        if (!t || !removes(t->getEventState()))
            continue;
        const bool sent = getWebIF(TimerDeletePath(t->getServiceReference(), t->getStartTime().GetTicks(),
                                                   t->getEndTime().GetTicks()));
        // A request that never reached the receiver removed nothing either.
        if (!sent || !ReadCommandAnswer(result).ok)
            complete = false;
    }
    return complete;
}

void MyTimerDialog::OnButtonClean(wxCommandEvent&)
{
    if (!config.expertmode &&
        ZPMessageBox(_(wxT("Soll die Timerliste wirklich gesäubert werden?")), wxYES_NO | wxICON_QUESTION, this) != wxYES)
        return;
    if (RemoveTimers(CleanRemoves))
        ZPMessageBox(_(wxT("Die Timerliste wurde gesäubert.")), wxOK | wxICON_INFORMATION, this);
    else
        ZPMessageBox(_(wxT("Die Timerliste konnte nicht vollständig gesäubert werden!")), wxOK | wxICON_WARNING, this);
    Reload();
}

void MyTimerDialog::OnButtonEmpty(wxCommandEvent&)
{
    if (!config.expertmode &&
        ZPMessageBox(_(wxT("Soll die Timerliste wirklich geleert werden?")), wxYES_NO | wxICON_QUESTION, this) != wxYES)
        return;
    if (RemoveTimers(EmptyRemoves))
        ZPMessageBox(_(wxT("Die Timerliste wurde geleert.")), wxOK | wxICON_INFORMATION, this);
    else
        ZPMessageBox(_(wxT("Die Timerliste konnte nicht vollständig geleert werden!")), wxOK | wxICON_WARNING, this);
    Reload();
}

void MyTimerDialog::OnKey(wxCommandEvent& event)
{
    HandleDialogKey(this, event, wxT("Timerverwaltung.htm"));
}

void MyTimerDialog::OnClose(wxCloseEvent&)
{
    CloseGuideDialog(this);
}

void MyTimerDialog::OnResize(wxSizeEvent& event)
{
    list->SetColumnWidth(5, RestColumnWidth(list, event.GetSize().x, 4, kRows));
    event.Skip();
}
