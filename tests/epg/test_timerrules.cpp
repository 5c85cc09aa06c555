// The timer manager's rules: reading the list, icons and words, repeat
// bits, what a clean-up removes, the command paths and their answers.
#include <gtest/gtest.h>
#include <vector>

#include "epg/timerrules.h"

namespace {

const char* const kTimers =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<e2timerlist>\n"
    "\t<e2timer>\n"
    "\t\t<e2servicereference>1:0:1:28AA:3FB:1:C00000:0:0:0:</e2servicereference>\n"
    "\t\t<e2servicename>\xc2\x86Nord\xc2\x87 Fernsehen</e2servicename>\n"
    "\t\t<e2eit>42</e2eit>\n"
    "\t\t<e2name>Heimatgeschichten &amp; mehr</e2name>\n"
    "\t\t<e2description>None</e2description>\n"
    "\t\t<e2descriptionextended>lang</e2descriptionextended>\n"
    "\t\t<e2disabled>0</e2disabled>\n"
    "\t\t<e2timebegin>1796400000</e2timebegin>\n"
    "\t\t<e2timeend>1796403600</e2timeend>\n"
    "\t\t<e2duration>3600</e2duration>\n"
    "\t\t<e2startprepare>1796399980</e2startprepare>\n"
    "\t\t<e2justplay>0</e2justplay>\n"
    "\t\t<e2afterevent>2</e2afterevent>\n"
    "\t\t<e2location>/media/usb/aufnahmen/</e2location>\n"
    "\t\t<e2tags>Doku Serie</e2tags>\n"
    "\t\t<e2logentries></e2logentries>\n"
    "\t\t<e2state>3</e2state>\n"
    "\t\t<e2repeated>0</e2repeated>\n"
    "\t\t<e2cancled>False</e2cancled>\n"
    "\t</e2timer>\n"
    // a second timer without location and tags: nothing of the first may stay
    "\t<e2timer>\n"
    "\t\t<e2servicereference>\n\t\t\t1:0:19:2844:437:1:C00000:0:0:0:\n\t\t</e2servicereference>\n"
    "\t\t<e2servicename>Zweites Programm HD</e2servicename>\n"
    "\t\t<e2name>Nachrichten</e2name>\n"
    "\t\t<e2disabled>1</e2disabled>\n"
    "\t\t<e2timebegin>1796700000</e2timebegin>\n"
    "\t\t<e2timeend>1796701800</e2timeend>\n"
    "\t\t<e2duration>1800</e2duration>\n"
    "\t\t<e2justplay>1</e2justplay>\n"
    "\t\t<e2state>0</e2state>\n"
    "\t\t<e2repeated>96</e2repeated>\n"
    "\t\t<e2unknownextra>x</e2unknownextra>\n"
    "\t</e2timer>\n"
    "</e2timerlist>\n";

} // namespace

TEST(TimerRules, EveryTimerIsReadFromItsOwnElementsOnly)
{
    std::vector<TimerEntry> timers;
    bool wellFormed = false;
    ASSERT_TRUE(ParseTimerList(wxString::FromUTF8(kTimers), timers, wellFormed));
    ASSERT_EQ(timers.size(), 2u);
    const TimerEntry& a = timers[0];
    EXPECT_EQ(a.serviceName, wxT("Nord Fernsehen"));
    EXPECT_EQ(a.name, wxT("Heimatgeschichten & mehr"));
    EXPECT_EQ(a.description, wxString());
    EXPECT_EQ(a.location, wxT("/media/usb/aufnahmen/"));
    EXPECT_EQ(a.tags, wxT("Doku Serie"));
    EXPECT_EQ(a.begin, 1796400000);
    EXPECT_EQ(a.duration, 3600);
    EXPECT_EQ(a.eit, 42);
    EXPECT_EQ(a.afterevent, 2);
    EXPECT_EQ(a.state, 3);
    EXPECT_FALSE(a.disabled);
    const TimerEntry& b = timers[1];
    EXPECT_EQ(b.sRef, wxT("1:0:19:2844:437:1:C00000:0:0:0:"));   // indented by the firmware
    EXPECT_EQ(b.location, wxString());
    EXPECT_EQ(b.tags, wxString());
    EXPECT_EQ(b.eit, 0);
    EXPECT_EQ(b.afterevent, 0);
    EXPECT_TRUE(b.disabled);
    EXPECT_EQ(b.justplay, 1);
    EXPECT_EQ(b.repeated, 96);

    timers.clear();
    EXPECT_FALSE(ParseTimerList(wxT("<e2simplexmlresult/>"), timers, wellFormed));
    EXPECT_TRUE(wellFormed);
    EXPECT_FALSE(ParseTimerList(wxT("<e2timerlist><e2timer>"), timers, wellFormed));
    EXPECT_FALSE(wellFormed);
    EXPECT_TRUE(timers.empty());
}

TEST(TimerRules, IconsRepeatBitsAndCleanUps)
{
    // disabled wins over repetition, repetition over the state
    EXPECT_EQ(TimerIcon(true, 31, 2), 5);
    EXPECT_EQ(TimerIcon(false, 31, 3), 4);
    EXPECT_EQ(TimerIcon(false, 0, 2), 2);
    EXPECT_EQ(TimerIcon(false, 0, 7), -1);
    EXPECT_EQ(TimerStateWord(2, true), wxT("deaktiviert"));
    EXPECT_EQ(TimerStateWord(9, false), wxT("unbekannt"));

    bool saturday[7] = { false, false, false, false, false, true, false };
    bool workdays[7] = { true, true, true, true, true, false, false };
    bool all[7] = { true, true, true, true, true, true, true };
    EXPECT_EQ(RepeatMask(saturday), 32);
    EXPECT_EQ(RepeatMask(workdays), 31);
    EXPECT_EQ(RepeatMask(all), 127);
    EXPECT_TRUE(RepeatsOn(96, 6));
    EXPECT_FALSE(RepeatsOn(96, 4));

    // "Leeren" keeps running timers only, "Säubern" removes finished ones only
    for (long state = 0; state <= 3; ++state) {
        EXPECT_EQ(EmptyRemoves(state), state != 2) << state;
        EXPECT_EQ(CleanRemoves(state), state == 3) << state;
    }
    // a choice without selection keeps what the timer had
    EXPECT_EQ(ChoiceOrStored(-1, 4, 3), 3);
    EXPECT_EQ(ChoiceOrStored(1, 4, 3), 1);
    EXPECT_EQ(ChoiceOrStored(4, 4, 7), 7);
}

TEST(TimerRules, ChangeAndDeletePathsEncodeEveryValueOnce)
{
    TimerChange c;
    c.sRef = c.oldSRef = wxT("1:0:1:2921:44D:1:C00000:0:0:0::Kanal Nord Relay");
    c.name = wxT("Kochen & Genießen");
    c.description = wxT("50% mehr");
    c.dirname = wxT("/media/usb/aufnahmen/");
    c.tags = wxT("Doku Serie");
    c.begin = 1796700000;
    c.end = 1796703600;
    c.eit = 555;
    c.afterevent = 3;
    c.repeated = 31;
    c.oldBegin = 1796699000;
    c.oldEnd = 1796702600;
    const wxString ref = wxT("1%3A0%3A1%3A2921%3A44D%3A1%3AC00000%3A0%3A0%3A0%3A%3AKanal%20Nord%20Relay");
    EXPECT_EQ(TimerChangePath(c),
              wxT("timerchange?sRef=") + ref + wxT("&begin=1796700000&end=1796703600")
                  wxT("&name=Kochen%20%26%20Genie%C3%9Fen&description=50%25%20mehr")
                  wxT("&dirname=%2Fmedia%2Fusb%2Faufnahmen%2F&tags=Doku%20Serie")
                  wxT("&eit=555&disabled=0&justplay=0&afterevent=3&repeated=31")
                  wxT("&channelOld=") + ref + wxT("&beginOld=1796699000&endOld=1796702600&deleteOldOnSave=1"));
    c.withLocation = false;
    c.disabled = true;
    const wxString toggle = TimerChangePath(c);
    EXPECT_FALSE(toggle.Contains(wxT("dirname=")));
    EXPECT_FALSE(toggle.Contains(wxT("tags=")));
    EXPECT_TRUE(toggle.Contains(wxT("&disabled=1&")));
    EXPECT_EQ(TimerDeletePath(wxT("1:0:1:0:0:0:0:0:0:0:a%3ab"), 10, 20),
              wxT("timerdelete?sRef=1%3A0%3A1%3A0%3A0%3A0%3A0%3A0%3A0%3A0%3Aa%253ab&begin=10&end=20"));
}

TEST(TimerRules, AnswersGiveTheFlagAndTheReceiversReason)
{
    CommandAnswer a = ReadCommandAnswer(wxT(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<e2simplexmlresult>\n\t<e2state>False</e2state>\n"
        "\t<e2statetext>Conflicting Timer(s) detected! Nachrichten / Über den Alpen</e2statetext>\n"
        "</e2simplexmlresult>"));
    EXPECT_FALSE(a.ok);
    EXPECT_TRUE(a.refused);
    EXPECT_EQ(a.text, wxT("Conflicting Timer(s) detected! Nachrichten / Über den Alpen"));
    EXPECT_TRUE(ReadCommandAnswer(wxT("<e2simplexmlresult><e2state>\n  True\n</e2state></e2simplexmlresult>")).ok);
    EXPECT_TRUE(ReadCommandAnswer(wxT("not XML <e2state>True</e2state>")).ok);
    // no answer at all: neither success nor a refusal
    a = ReadCommandAnswer(wxString());
    EXPECT_FALSE(a.ok);
    EXPECT_FALSE(a.refused);
}
