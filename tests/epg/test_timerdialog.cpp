// The timer manager against the simulated receiver: the list with its
// icons, details, change, (de)activation, deletion, "Säubern" and "Leeren";
// what the receiver holds afterwards is read back from its timer list.
#include "epg/epg_fixture.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/datectrl.h>
#include <wx/stattext.h>
#include <set>

#include "epg/timerdialog.h"

using namespace epgtest;

namespace {

void Tick(wxCheckBox* box, bool on)
{
    box->SetValue(on);
    wxCommandEvent ev(wxEVT_CHECKBOX, box->GetId());
    ev.SetEventObject(box);
    ev.SetInt(on);
    box->GetEventHandler()->ProcessEvent(ev);
}

const TimerEntry* Named(const std::vector<TimerEntry>& timers, const wxString& name, const wxString& ref = wxString())
{
    for (const TimerEntry& t : timers)
        if (t.name == name && (ref.empty() || t.sRef == ref))
            return &t;
    return nullptr;
}

const wxString kTatort = wxT("Tatort: Spuren im Schnee");

} // namespace

class TimerManager : public EPGTest {
protected:
    long RowNamed(MyTimerDialog& d, const wxString& name)
    {
        for (long r = 0; r < d.list->GetItemCount(); ++r)
            if (d.rowData(r)->getEventName() == name)
                return r;
        return -1;
    }
};

TEST_F(TimerManager, ListsEveryTimerWithItsIconAndTimes)
{
    MessageBoxRecorder boxes;
    MyTimerDialog dialog;
    ASSERT_TRUE(dialog.loaded);
    const std::vector<TimerEntry> timers = ReceiverTimers();
    ASSERT_EQ((int)timers.size(), dialog.list->GetItemCount());
    ASSERT_EQ(timers.size(), 9u);
    std::set<int> icons;
    for (long r = 0; r < dialog.list->GetItemCount(); ++r) {
        wxListItem item;
        item.SetId(r);
        item.SetMask(wxLIST_MASK_IMAGE);
        ASSERT_TRUE(dialog.list->GetItem(item));
        const TimerEntry& t = timers[r];
        EXPECT_EQ(item.GetImage(), TimerIcon(t.disabled, t.repeated, t.state)) << r;
        icons.insert(item.GetImage());
        EXPECT_EQ(dialog.list->GetItemText(r, 5), t.serviceName);
    }
    // every icon occurs: the four states, repeated and disabled
    EXPECT_EQ(icons, (std::set<int>{0, 1, 2, 3, 4, 5}));
    const long tatort = RowNamed(dialog, kTatort);
    ASSERT_GE(tatort, 0);
    EXPECT_EQ(dialog.list->GetItemText(tatort, 1), wxT("07.12.2026"));
    EXPECT_EQ(dialog.list->GetItemText(tatort, 2), wxT("21:00"));
    EXPECT_EQ(dialog.list->GetItemText(tatort, 3), wxT("22:30"));
    EXPECT_EQ(dialog.list->GetItemText(tatort, 4), wxT("90 min"));
    EXPECT_EQ(dialog.list->GetItemText(tatort, 5), wxT("Erstes Programm HD"));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(TimerManager, DetailsFollowTheSelectedTimer)
{
    MessageBoxRecorder boxes;
    MyTimerDialog dialog;
    ASSERT_TRUE(dialog.loaded);
    // the first row is finished and enabled: nothing can be edited, not even (de)activated
    ASSERT_EQ(dialog.rowData(0)->getEventState(), 3);
    ASSERT_FALSE(dialog.rowData(0)->getDisabled());
    EXPECT_EQ(dialog.stateText->GetLabel(), wxT("erledigt"));
    wxWindow* controls[] = { dialog.nameText, dialog.descriptionText, dialog.startDate, dialog.endDate,
                             dialog.startHour, dialog.startMinute, dialog.endHour, dialog.endMinute,
                             dialog.stateText, dialog.eventChoice, dialog.afterEventChoice,
                             dialog.locationChoice, dialog.tagChoice, dialog.changeButton,
                             dialog.enableButton };
    for (wxWindow* w : controls)
        EXPECT_FALSE(w->IsEnabled()) << w->GetName();
    for (wxCheckBox* box : dialog.day)
        EXPECT_FALSE(box->IsEnabled());
    // its location is not among the receiver's, and still shown
    EXPECT_EQ(dialog.locationChoice->GetStringSelection(), wxT("/media/usb/aufnahmen/"));
    EXPECT_EQ(dialog.locationChoice->GetString(0), wxT("/hdd/movie/"));
    EXPECT_EQ(dialog.tagChoice->GetStringSelection(), wxT("Doku Serie"));
    EXPECT_EQ(dialog.descriptionText->GetLabelText(), wxT("keine Beschreibung vorhanden"));
    EXPECT_EQ(dialog.afterEventChoice->GetSelection(), 2);

    // a waiting single timer: everything editable
    Select(dialog.list, RowNamed(dialog, kTatort));
    for (wxWindow* w : controls)
        EXPECT_TRUE(w->IsEnabled()) << w->GetName();
    EXPECT_EQ(dialog.nameText->GetLabelText(), kTatort);
    EXPECT_EQ(dialog.descriptionText->GetLabelText(), wxT("Krimi & Spannung"));
    EXPECT_EQ(dialog.startHour->GetSelection(), 21);
    EXPECT_EQ(dialog.endMinute->GetSelection(), 30);
    EXPECT_EQ(dialog.tagChoice->GetStringSelection(), wxT("Krimi"));
    EXPECT_EQ(dialog.eventChoice->GetSelection(), 0);
    EXPECT_EQ(dialog.stateText->GetLabel(), wxT("wartend"));

    // weekdays: boxes ticked, dates fixed by the repetition
    long weekdays = 0;
    while (weekdays < dialog.list->GetItemCount() && dialog.rowData(weekdays)->getRepeated() != 31)
        ++weekdays;
    Select(dialog.list, weekdays);
    ASSERT_EQ(dialog.rowData(dialog.selected)->getRepeated(), 31);
    for (int d = 0; d < 7; ++d)
        EXPECT_EQ(dialog.day[d]->GetValue(), d < 5) << d;
    EXPECT_FALSE(dialog.startDate->IsEnabled());
    EXPECT_TRUE(dialog.changeButton->IsEnabled());

    // a disabled timer says so instead of its state
    Select(dialog.list, RowNamed(dialog, wxT("Quiz & Spaß am Dienstag")));
    EXPECT_EQ(dialog.stateText->GetLabel(), wxT("deaktiviert"));
}

TEST_F(TimerManager, ChangeSendsTheEditedValuesARefusalShowsWhy)
{
    MessageBoxRecorder boxes(wxYES);
    MyTimerDialog dialog;
    ASSERT_TRUE(dialog.loaded);
    Select(dialog.list, RowNamed(dialog, kTatort));
    // an end before its begin at 21:00: the receiver refuses, the controls go back
    dialog.endHour->SetSelection(20);
    Click(&dialog, "ID_BUTTON_CHANGE");
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text,
              wxT("Soll der gewählte Timereintrag\n\n\"Tatort: Spuren im Schnee\"\n\nwirklich geändert werden?"));
    EXPECT_EQ(boxes.boxes()[1].text, wxT("Der gewählte Timereintrag\n\n\"Tatort: Spuren im Schnee\"\n\n"
                                         "konnte nicht geändert werden!\n\nTimer end must not be before its begin"));
    EXPECT_TRUE(boxes.boxes()[1].style & wxICON_ERROR);
    EXPECT_EQ(dialog.endHour->GetSelection(), 22);
    EXPECT_EQ(Named(ReceiverTimers(), kTatort)->end, kSimNow + 3 * 3600 + 1800);

    Tick(dialog.day[5], true);   // Saturday
    EXPECT_FALSE(dialog.startDate->IsEnabled());
    Tick(dialog.day[5], false);
    EXPECT_TRUE(dialog.startDate->IsEnabled());
    Tick(dialog.day[5], true);
    dialog.endHour->SetSelection(23);
    dialog.afterEventChoice->SetSelection(1);
    Click(&dialog, "ID_BUTTON_CHANGE");
    ASSERT_EQ(boxes.boxes().size(), 4u);
    EXPECT_EQ(boxes.boxes()[3].text, wxT("Der gewählte Timereintrag\n\n\"Tatort: Spuren im Schnee\"\n\nwurde geändert."));
    const std::vector<TimerEntry> now = ReceiverTimers();
    const TimerEntry* t = Named(now, kTatort);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->repeated, 32);
    EXPECT_EQ(t->begin, kSimNow + 7200);
    EXPECT_EQ(t->end, kSimNow + 4 * 3600 + 1800);
    EXPECT_EQ(t->afterevent, 1);
    EXPECT_EQ(t->location, wxT("/hdd/movie/"));
    EXPECT_EQ(t->tags, wxT("Krimi"));
    const std::vector<std::string> sent = Sent("timerchange?");
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_NE(sent[1].find("&name=Tatort%3A%20Spuren%20im%20Schnee&description=Krimi%20%26%20Spannung"
                           "&dirname=%2Fhdd%2Fmovie%2F&tags=Krimi&eit=4711&disabled=0&justplay=0&afterevent=1"
                           "&repeated=32&channelOld=1%3A0%3A19%3A2800%3A401%3A1%3AC00000%3A0%3A0%3A0%3A"),
              std::string::npos) << sent[1];
    // the list was read again
    EXPECT_EQ(dialog.list->GetItemText(RowNamed(dialog, kTatort), 3), wxT("23:30"));
}

TEST_F(TimerManager, ActivatingADisabledTimer)
{
    MessageBoxRecorder boxes(wxYES);
    MyTimerDialog dialog;
    ASSERT_TRUE(dialog.loaded);
    const wxString quiz = wxT("Quiz & Spaß am Dienstag");
    Select(dialog.list, RowNamed(dialog, quiz));
    Click(&dialog, "ID_BUTTON_ENABLE");
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text,
              wxT("Soll der gewählte Timereintrag\n\n\"Quiz & Spaß am Dienstag\"\n\nwirklich aktiviert werden?"));
    EXPECT_EQ(boxes.boxes()[1].text, wxT("Der gewählte Timereintrag\n\n\"Quiz & Spaß am Dienstag\"\n\nwurde aktiviert."));
    const std::vector<TimerEntry> now = ReceiverTimers();
    const TimerEntry* t = Named(now, quiz);
    ASSERT_NE(t, nullptr);
    EXPECT_FALSE(t->disabled);
    EXPECT_EQ(t->location, wxT("/hdd/movie/"));
    const std::vector<std::string> sent = Sent("timerchange?");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].find("dirname="), std::string::npos);
    EXPECT_NE(sent[0].find("&disabled=0&"), std::string::npos);
    // the reloaded row shows the timer active
    wxListItem item;
    item.SetId(RowNamed(dialog, quiz));
    item.SetMask(wxLIST_MASK_IMAGE);
    dialog.list->GetItem(item);
    EXPECT_EQ(item.GetImage(), 0);
}

TEST_F(TimerManager, NoSendsNothingAndExpertModeAsksNothing)
{
    MessageBoxRecorder boxes(wxNO);
    MyTimerDialog dialog;
    ASSERT_TRUE(dialog.loaded);
    Select(dialog.list, RowNamed(dialog, kTatort));
    for (const char* button : { "ID_BUTTON_CHANGE", "ID_BUTTON_ENABLE", "ID_BUTTON_DELETE",
                                "ID_BUTTON_CLEAN", "ID_BUTTON_EMPTY" })
        Click(&dialog, button);
    ASSERT_EQ(boxes.boxes().size(), 5u);
    EXPECT_EQ(boxes.boxes()[1].text,
              wxT("Soll der gewählte Timereintrag\n\n\"Tatort: Spuren im Schnee\"\n\nwirklich deaktiviert werden?"));
    EXPECT_EQ(boxes.boxes()[2].text,
              wxT("Soll der gewählte Timereintrag\n\n\"Tatort: Spuren im Schnee\"\n\nwirklich gelöscht werden?"));
    EXPECT_EQ(boxes.boxes()[3].text, wxT("Soll die Timerliste wirklich gesäubert werden?"));
    EXPECT_EQ(boxes.boxes()[4].text, wxT("Soll die Timerliste wirklich geleert werden?"));
    EXPECT_TRUE(Sent("timerchange").empty());
    EXPECT_TRUE(Sent("timerdelete").empty());

    // the same answer No, but an expert is not asked
    config.expertmode = 1;
    Click(&dialog, "ID_BUTTON_ENABLE");
    Select(dialog.list, RowNamed(dialog, kTatort));
    Click(&dialog, "ID_BUTTON_DELETE");
    ASSERT_EQ(boxes.boxes().size(), 7u);
    EXPECT_EQ(boxes.boxes()[5].text, wxT("Der gewählte Timereintrag\n\n\"Tatort: Spuren im Schnee\"\n\nwurde deaktiviert."));
    EXPECT_EQ(boxes.boxes()[6].text, wxT("Der gewählte Timereintrag\n\n\"Tatort: Spuren im Schnee\"\n\nwurde gelöscht."));
    EXPECT_EQ(Named(ReceiverTimers(), kTatort), nullptr);
    EXPECT_EQ(dialog.list->GetItemCount(), 8);
}

TEST_F(TimerManager, CleanRemovesFinishedTimersAndEmptyKeepsTheRunningOne)
{
    config.expertmode = 1;
    MessageBoxRecorder boxes;
    MyTimerDialog dialog;
    ASSERT_TRUE(dialog.loaded);
    Click(&dialog, "ID_BUTTON_CLEAN");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, wxT("Die Timerliste wurde gesäubert."));
    std::vector<TimerEntry> timers = ReceiverTimers();
    EXPECT_EQ(timers.size(), 7u);
    for (const TimerEntry& t : timers)
        EXPECT_NE(t.state, 3);
    EXPECT_EQ(dialog.list->GetItemCount(), 7);

    Click(&dialog, "ID_BUTTON_EMPTY");
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxes.boxes()[1].text, wxT("Die Timerliste wurde geleert."));
    timers = ReceiverTimers();
    ASSERT_EQ(timers.size(), 1u);
    EXPECT_EQ(timers[0].state, 2);
    EXPECT_EQ(dialog.list->GetItemCount(), 1);
    dialog.Show();

    // the last timer deleted: nothing left to show, the dialog closes
    Select(dialog.list, 0);
    Click(&dialog, "ID_BUTTON_DELETE");
    EXPECT_TRUE(ReceiverTimers().empty());
    EXPECT_FALSE(dialog.IsShown());
}

TEST_F(TimerManager, FailedRequestsAreFailures)
{
    config.expertmode = 1;
    MessageBoxRecorder boxes;
    {
        MyTimerDialog dialog;
        ASSERT_TRUE(dialog.loaded);
        // a clean-up whose requests never reach the receiver did not clean
        sim->control("/control/fault?cmd=timerdelete&status=500");
        Click(&dialog, "ID_BUTTON_CLEAN");
        ASSERT_FALSE(boxes.boxes().empty());
        EXPECT_EQ(boxes.boxes().back().text, wxT("Die Timerliste konnte nicht vollständig gesäubert werden!"));
        EXPECT_TRUE(boxes.boxes().back().style & wxICON_WARNING);
        sim->control("/control/fault?cmd=timerdelete&clear=1");
        EXPECT_EQ(ReceiverTimers().size(), 9u);
    }
    // no timer list: a warning and no dialog
    sim->control("/control/fault?cmd=timerlist&wrongroot=1");
    MyTimerDialog empty;
    EXPECT_FALSE(empty.loaded);
    EXPECT_EQ(boxes.boxes().back().text, wxT("Es sind keine Timereinträge vorhanden."));
}
