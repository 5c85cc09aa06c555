// Reminders switch the real player when their event begins, also when
// they were set weeks ahead.
#include "mainwindow/switch_fixture.h"

#include "epg/epgdialogs.h"
#include "epg/epgrules.h"

using namespace sw;

class Reminder : public SwitchTest {
protected:
    void TearDown() override
    {
        SetEPGClockOffset(0);
        SwitchTest::TearDown();
    }
};

TEST_F(Reminder, FiresAtTheStartAndPlaysTheService)
{
    MessageBoxRecorder boxes;
    const wxString start = wxString::Format(wxT("%lld"), (long long)EPGNow() + 2);
    SetEventReminder(frame, wxString::FromUTF8(SD_B), start, wxT("Über den Alpen"), 61);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    // a second may pass between setting the start and the reminder
    EXPECT_TRUE(boxes.boxes()[0].text.StartsWith(wxT("In 2 Sekunden wird die gewählte Sendung")) ||
                boxes.boxes()[0].text.StartsWith(wxT("In 1 Sekunden wird die gewählte Sendung")))
        << boxes.boxes()[0].text;
    EXPECT_TRUE(frame->zapTimer.IsRunning());
    EXPECT_TRUE(frame->currentSRef.empty());
    ASSERT_TRUE(RunUntil([&] { return frame->currentSRef == wxString::FromUTF8(SD_B); }, 15000));
    EXPECT_TRUE(WaitStarted());
    EXPECT_EQ(frame->currentMode, 1);
}

TEST_F(Reminder, WeeksAheadWaitsInStepsAndFiresOnTheDay)
{
    MessageBoxRecorder boxes;
    const long long ahead = 25LL * 86400 + 30;
    const wxString start = wxString::Format(wxT("%lld"), (long long)EPGNow() + ahead);
    SetEventReminder(frame, wxString::FromUTF8(RADIO), start, wxT("Klassik zum Feierabend"), 61);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_TRUE(boxes.boxes()[0].text.StartsWith(wxT("In 36000 Minuten"))) << boxes.boxes()[0].text;
    ASSERT_TRUE(frame->zapTimer.IsRunning());
    EXPECT_EQ(frame->zapTimer.GetInterval(), kReminderStepMs);

    // a step ends: still weeks to go, nothing plays and the timer waits again
    wxTimerEvent tick(frame->zapTimer);
    frame->ZAPTimer(tick);
    EXPECT_TRUE(frame->currentSRef.empty());
    EXPECT_TRUE(frame->zapTimer.IsRunning());

    // on the day, a few seconds before: the last wait is the rest
    SetEPGClockOffset(ahead - 5);
    frame->ZAPTimer(tick);
    EXPECT_TRUE(frame->currentSRef.empty());
    EXPECT_LE(frame->zapTimer.GetInterval(), 5000);
    ASSERT_TRUE(RunUntil([&] { return frame->currentSRef == wxString::FromUTF8(RADIO); }, 15000));
    EXPECT_EQ(frame->currentMode, 2);
}
