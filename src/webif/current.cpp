#include "webif/current.h"

#include <wx/xml/xml.h>

#include "webif/services.h"

static const wxXmlNode* FirstChild(const wxXmlNode* parent, const wxString& name)
{
    for (const wxXmlNode* n = parent ? parent->GetChildren() : nullptr; n; n = n->GetNext())
        if (n->GetType() == wxXML_ELEMENT_NODE && n->GetName() == name)
            return n;
    return nullptr;
}

// The text of the first element named field under a root named root; empty
// when the reply is not such a document.
static wxString ReplyField(const wxString& xml, const wxChar* root, const wxChar* field)
{
    wxXmlDocument doc;
    if (!LoadReplyXml(xml, doc) || doc.GetRoot()->GetName() != root)
        return wxString();
    return ElementText(FirstChild(doc.GetRoot(), field));
}

bool ParseStandbyState(const wxString& xml)
{
    // some firmware writes "True"
    return ReplyField(xml, wxT("e2powerstate"), wxT("e2instandby")).Lower().StartsWith(wxT("true"));
}

bool ServiceNotPlayable(const wxString& xml)
{
    return ReplyField(xml, wxT("e2serviceplayable"), wxT("e2isplayable")).Lower() == wxT("false");
}

bool ParseCurrentService(const wxString& xml, wxString& ref, wxString& name)
{
    wxXmlDocument doc;
    if (!LoadReplyXml(xml, doc) || doc.GetRoot()->GetName() != wxT("e2currentserviceinformation"))
        return false;
    const wxXmlNode* service = FirstChild(doc.GetRoot(), wxT("e2service"));
    if (!service)
        return false;
    ref = ElementText(FirstChild(service, wxT("e2servicereference")));
    name = StripEmphasis(ElementText(FirstChild(service, wxT("e2servicename"))));
    return true;
}

wxString CurrentRefFromReply(const wxString& replyRef, const wxString& previous)
{
    if (replyRef.Contains(wxT("::")))
        return replyRef.BeforeLast(':');
    if (replyRef == wxT("N/A"))
        return previous;
    return replyRef;
}

int ModeFromRef(const wxString& ref, int previous)
{
    if (ref.StartsWith(wxT("1:0:0")))
        return 3;
    if (ref.StartsWith(wxT("1:0:1")))
        return 1;
    if (ref.StartsWith(wxT("1:0:2")))
        return 2;
    return previous;
}

static wxString FieldText(const wxXmlNode* n)
{
    const wxString v = ElementText(n);
    return v == wxT("None") ? wxString() : v;
}

static void ReadEvent(const wxXmlNode* event, EventFields& ev)
{
    for (const wxXmlNode* f = event->GetChildren(); f; f = f->GetNext()) {
        if (f->GetType() != wxXML_ELEMENT_NODE)
            continue;
        const wxString& name = f->GetName();
        if (name == wxT("e2eventid"))
            ev.id = FieldText(f);
        else if (name == wxT("e2eventstart"))
            ev.start = FieldText(f);
        else if (name == wxT("e2eventduration"))
            ev.duration = FieldText(f);
        else if (name == wxT("e2eventtitle"))
            ev.title = StripEmphasis(FieldText(f));
        else if (name == wxT("e2eventdescription"))
            ev.description = FieldText(f);
        else if (name == wxT("e2eventdescriptionextended"))
            ev.descriptionExt = FieldText(f);
        else if (name == wxT("e2eventservicereference"))
            ev.sRef = FieldText(f);
        else if (name == wxT("e2eventservicename"))
            ev.serviceName = StripEmphasis(FieldText(f));
    }
}

bool ParseEventFields(const wxString& xml, EventFields& ev)
{
    wxXmlDocument doc;
    if (!LoadReplyXml(xml, doc) || doc.GetRoot()->GetName() != wxT("e2eventlist"))
        return false;
    // Reading every event into the same record lets the last value of each field win.
    for (const wxXmlNode* e = doc.GetRoot()->GetChildren(); e; e = e->GetNext())
        if (e->GetType() == wxXML_ELEMENT_NODE && e->GetName() == wxT("e2event"))
            ReadEvent(e, ev);
    return true;
}

bool ParseEventList(const wxString& xml, std::vector<EventFields>& events)
{
    wxXmlDocument doc;
    if (!LoadReplyXml(xml, doc) || doc.GetRoot()->GetName() != wxT("e2eventlist"))
        return false;
    for (const wxXmlNode* e = doc.GetRoot()->GetChildren(); e; e = e->GetNext())
        if (e->GetType() == wxXML_ELEMENT_NODE && e->GetName() == wxT("e2event")) {
            EventFields ev;
            ReadEvent(e, ev);
            events.push_back(ev);
        }
    return true;
}

static bool ToLong(const wxString& text, long& value)
{
    return !text.empty() && text.ToLong(&value);
}

static wxString StartText(const EventFields& ev)
{
    long start;
    if (!ToLong(ev.start, start))
        return wxT("00:00");
    time_t t = start;
    struct tm lt;
    localtime_r(&t, &lt);
    return wxString::Format(wxT("%.2d:%.2d"), lt.tm_hour, lt.tm_min);
}

static wxString TitleText(const EventFields& ev)
{
    if (ev.title.empty())
        return wxT("keine Beschreibung vorhanden");
    wxString title(ev.title);
    title.Replace(wxT("&"), wxT("&&"));
    return title;
}

static wxString Combine(const wxString& title, const wxString& time)
{
    wxString text = title + wxT(" (") + time + wxT(")");
    text.Replace(wxT("&&"), wxT("+"));
    return text;
}

NowNextTexts NextEventTexts(const EventFields& ev)
{
    NowNextTexts t;
    t.start = StartText(ev);
    t.title = TitleText(ev);
    long duration;
    t.time = ToLong(ev.duration, duration) ? wxString::Format(wxT("%ld min"), duration / 60)
                                           : wxString(wxT("000 min"));
    t.combined = Combine(t.title, t.time);
    return t;
}

NowNextTexts NowEventTexts(const EventFields& ev, time_t now)
{
    NowNextTexts t;
    t.start = StartText(ev);
    t.title = TitleText(ev);
    long duration, start;
    if (ToLong(ev.duration, duration)) {
        if (!ToLong(ev.start, start))
            start = 0;
        const long remaining = (long)((start + duration) - (long)now) / 60;
        t.time = wxString::Format(wxT("+%d min"), (int)remaining);
        t.gaugeRange = (int)(duration / 60);
        long elapsed = t.gaugeRange - remaining;
        // An event that is over (or a start in the future) must not push the
        // gauge beyond its ends.
        if (elapsed < 0)
            elapsed = 0;
        if (elapsed > t.gaugeRange)
            elapsed = t.gaugeRange;
        t.gaugeValue = (int)elapsed;
    } else {
        t.time = wxT("000 min");
    }
    t.combined = Combine(t.title, t.time);
    return t;
}

bool ParseAudioTracks(const wxString& xml, std::vector<AudioTrack>& tracks, bool& wellFormed)
{
    wxXmlDocument doc;
    wellFormed = LoadReplyXml(xml, doc);
    if (!wellFormed || doc.GetRoot()->GetName() != wxT("e2audiotracklist"))
        return false;
    for (const wxXmlNode* a = doc.GetRoot()->GetChildren(); a; a = a->GetNext()) {
        if (a->GetType() != wxXML_ELEMENT_NODE || a->GetName() != wxT("e2audiotrack"))
            continue;
        AudioTrack t;
        for (const wxXmlNode* f = a->GetChildren(); f; f = f->GetNext()) {
            if (f->GetType() != wxXML_ELEMENT_NODE)
                continue;
            if (f->GetName() == wxT("e2audiotrackdescription"))
                t.description = ElementText(f);
            else if (f->GetName() == wxT("e2audiotrackid"))
                t.id = ElementText(f);
            else if (f->GetName() == wxT("e2audiotrackpid"))
                t.pid = ElementText(f);
            else if (f->GetName() == wxT("e2audiotrackactive"))
                t.active = ElementText(f);
        }
        tracks.push_back(t);
    }
    return true;
}

int FindTrackByPid(const std::vector<AudioTrack>& tracks, const wxString& pid)
{
    for (size_t i = 0; i < tracks.size(); ++i)
        if (tracks[i].pid == pid)
            return (int)i;
    return -1;
}

wxString StripEmphasis(const wxString& text)
{
    wxString out;
    out.reserve(text.length());
    for (wxString::const_iterator it = text.begin(); it != text.end(); ++it)
        if (*it != wxUniChar(0x86) && *it != wxUniChar(0x87))
            out += *it;
    return out;
}

bool ParseSubServices(const wxString& xml, std::vector<SubService>& subs, bool& wellFormed)
{
    wxXmlDocument doc;
    wellFormed = LoadReplyXml(xml, doc);
    if (!wellFormed || doc.GetRoot()->GetName() != wxT("e2servicelist"))
        return false;
    for (const wxXmlNode* s = doc.GetRoot()->GetChildren(); s; s = s->GetNext()) {
        if (s->GetType() != wxXML_ELEMENT_NODE || s->GetName() != wxT("e2service"))
            continue;
        SubService sub;
        sub.ref = ElementText(FirstChild(s, wxT("e2servicereference")));
        sub.name = StripEmphasis(ElementText(FirstChild(s, wxT("e2servicename"))));
        subs.push_back(sub);
    }
    return true;
}

wxString FormatSimilarEvents(const wxString& xml)
{
    wxXmlDocument doc;
    if (!LoadReplyXml(xml, doc) || doc.GetRoot()->GetName() != wxT("e2eventlist"))
        return wxString();
    wxString text;
    for (const wxXmlNode* e = doc.GetRoot()->GetChildren(); e; e = e->GetNext()) {
        if (e->GetType() != wxXML_ELEMENT_NODE || e->GetName() != wxT("e2event"))
            continue;
        for (const wxXmlNode* f = e->GetChildren(); f; f = f->GetNext()) {
            if (f->GetType() != wxXML_ELEMENT_NODE)
                continue;
            if (f->GetName() == wxT("e2eventstart")) {
                long start = 0;
                ElementText(f).ToLong(&start);
                time_t t = start;
                struct tm lt;
                localtime_r(&t, &lt);
                text += wxString::Format(wxT("\n%.2d.%.2d.%.4d - %.2d:%.2d - "), lt.tm_mday,
                                         lt.tm_mon + 1, lt.tm_year + 1900, lt.tm_hour, lt.tm_min);
            } else if (f->GetName() == wxT("e2eventservicename")) {
                text += StripEmphasis(ElementText(f));
            }
        }
    }
    return text;
}

static int retryDelayMs = 1000;

int AudioTrackRetryDelay()
{
    return retryDelayMs;
}

void SetAudioTrackRetryDelay(int milliseconds)
{
    retryDelayMs = milliseconds;
}
