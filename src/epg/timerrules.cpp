#include "epg/timerrules.h"

#include <wx/intl.h>
#include <wx/xml/xml.h>

#include "epg/epgrules.h"
#include "webif/current.h"
#include "webif/services.h"
#include "webif/webif.h"

static wxString Text(const wxXmlNode* n)
{
    const wxString v = ElementText(n);
    return v == wxT("None") ? wxString() : v;
}

static long Number(const wxString& text)
{
    long v = 0;
    return text.ToLong(&v) ? v : 0;
}

static long long Seconds(const wxString& text)
{
    long long v = 0;
    return ParseSeconds(text, v) ? v : 0;
}

static void ReadTimer(const wxXmlNode* timer, TimerEntry& t)
{
    for (const wxXmlNode* f = timer->GetChildren(); f; f = f->GetNext()) {
        if (f->GetType() != wxXML_ELEMENT_NODE)
            continue;
        const wxString& name = f->GetName();
        if (name == wxT("e2servicereference"))
            t.sRef = Text(f);
        else if (name == wxT("e2servicename"))
            t.serviceName = StripEmphasis(Text(f));
        else if (name == wxT("e2eit"))
            t.eit = Number(Text(f));
        else if (name == wxT("e2name"))
            t.name = Text(f);
        else if (name == wxT("e2description"))
            t.description = Text(f);
        else if (name == wxT("e2disabled"))
            t.disabled = Text(f) == wxT("1");
        else if (name == wxT("e2timebegin"))
            t.begin = Seconds(Text(f));
        else if (name == wxT("e2timeend"))
            t.end = Seconds(Text(f));
        else if (name == wxT("e2duration"))
            t.duration = Seconds(Text(f));
        else if (name == wxT("e2justplay"))
            t.justplay = Number(Text(f));
        else if (name == wxT("e2afterevent"))
            t.afterevent = Number(Text(f));
        else if (name == wxT("e2location"))
            t.location = Text(f);
        else if (name == wxT("e2tags"))
            t.tags = Text(f);
        else if (name == wxT("e2state"))
            t.state = Number(Text(f));
        else if (name == wxT("e2repeated"))
            t.repeated = Number(Text(f));
    }
}

bool ParseTimerList(const wxString& xml, std::vector<TimerEntry>& timers, bool& wellFormed)
{
    wxXmlDocument doc;
    wellFormed = LoadReplyXml(xml, doc);
    if (!wellFormed || doc.GetRoot()->GetName() != wxT("e2timerlist"))
        return false;
    for (const wxXmlNode* n = doc.GetRoot()->GetChildren(); n; n = n->GetNext())
        if (n->GetType() == wxXML_ELEMENT_NODE && n->GetName() == wxT("e2timer")) {
            TimerEntry t;
            ReadTimer(n, t);
            timers.push_back(t);
        }
    return true;
}

int TimerIcon(bool disabled, long repeated, long state)
{
    if (disabled)
        return 5;
    if (repeated != 0)
        return 4;
    return state >= 0 && state <= 3 ? (int)state : -1;
}

wxString TimerStateWord(long state, bool disabled)
{
    if (disabled)
        return _(wxT("deaktiviert"));
    switch (state) {
    case TIMER_WAITING: return _(wxT("wartend"));
    case TIMER_PREPARING: return _(wxT("vorbereiten"));
    case TIMER_RUNNING: return _(wxT("aktiv"));
    case TIMER_DONE: return _(wxT("erledigt"));
    }
    return _(wxT("unbekannt"));
}

long RepeatMask(const bool days[7])
{
    long mask = 0;
    for (int d = 0; d < 7; ++d)
        if (days[d])
            mask |= 1L << d;
    return mask;
}

bool RepeatsOn(long mask, int day)
{
    return (mask >> day) & 1;
}

bool CleanRemoves(long state)
{
    return state == TIMER_DONE;
}

bool EmptyRemoves(long state)
{
    return state != TIMER_RUNNING;
}

long ChoiceOrStored(int selection, int count, long stored)
{
    return selection >= 0 && selection < count ? selection : stored;
}

wxString TimerChangePath(const TimerChange& c)
{
    wxString path = wxString::Format(wxT("timerchange?sRef=%s&begin=%lld&end=%lld&name=%s&description=%s"),
                                     QueryValue(c.sRef), c.begin, c.end, QueryValue(c.name),
                                     QueryValue(c.description));
    if (c.withLocation)
        path += wxT("&dirname=") + QueryValue(c.dirname) + wxT("&tags=") + QueryValue(c.tags);
    path += wxString::Format(wxT("&eit=%ld&disabled=%d&justplay=%ld&afterevent=%ld&repeated=%ld"),
                             c.eit, c.disabled ? 1 : 0, c.justplay, c.afterevent, c.repeated);
    path += wxString::Format(wxT("&channelOld=%s&beginOld=%lld&endOld=%lld&deleteOldOnSave=1"),
                             QueryValue(c.oldSRef), c.oldBegin, c.oldEnd);
    return path;
}

wxString TimerDeletePath(const wxString& sRef, long long begin, long long end)
{
    return wxString::Format(wxT("timerdelete?sRef=%s&begin=%lld&end=%lld"), QueryValue(sRef), begin, end);
}

CommandAnswer ReadCommandAnswer(const wxString& reply)
{
    CommandAnswer a;
    wxXmlDocument doc;
    if (!LoadReplyXml(reply, doc)) {
        a.ok = reply.Contains(wxT("<e2state>True</e2state>"));
        return a;
    }
    // Some firmware writes the flag indented or in other case.
    for (const wxXmlNode* n = doc.GetRoot()->GetChildren(); n; n = n->GetNext()) {
        if (n->GetType() != wxXML_ELEMENT_NODE)
            continue;
        if (n->GetName() == wxT("e2statetext")) {
            a.text = Text(n);
        } else if (n->GetName() == wxT("e2state")) {
            const wxString flag = Text(n).Lower();
            a.ok = flag == wxT("true");
            a.refused = flag == wxT("false");
        }
    }
    return a;
}
