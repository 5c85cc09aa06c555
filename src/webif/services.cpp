#include "webif/services.h"
#include "webif/current.h"

#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/xml/xml.h>

bool LoadReplyXml(const wxString& text, wxXmlDocument& doc)
{
    const wxScopedCharBuffer utf8 = text.utf8_str();
    if (utf8.length() == 0)
        return false;
    wxMemoryInputStream in(utf8.data(), utf8.length());
    wxLogNull quiet;  // a broken reply is the caller's case to handle, not a log error
    return doc.Load(in, wxT("UTF-8")) && doc.GetRoot() != nullptr;
}

wxString ElementText(const wxXmlNode* node)
{
    // Some firmware pretty-prints its replies: a value then comes indented on
    // a line of its own, maybe split by a comment or a CDATA section.
    wxString text;
    for (const wxXmlNode* c = node ? node->GetChildren() : nullptr; c; c = c->GetNext())
        if (c->GetType() == wxXML_TEXT_NODE || c->GetType() == wxXML_CDATA_SECTION_NODE)
            text += c->GetContent();
    return text.Trim(true).Trim(false);
}

bool ParseTextList(const wxString& xml, const wxString& root, const wxString& item,
                   std::vector<wxString>& texts)
{
    wxXmlDocument doc;
    if (!LoadReplyXml(xml, doc) || doc.GetRoot()->GetName() != root)
        return false;
    for (const wxXmlNode* n = doc.GetRoot()->GetChildren(); n; n = n->GetNext()) {
        if (n->GetType() != wxXML_ELEMENT_NODE || n->GetName() != item)
            continue;
        const wxString text = ElementText(n);
        if (!text.empty() && text != wxT("None"))
            texts.push_back(text);
    }
    return true;
}

wxString ServiceListPath(int kind)
{
    switch (kind) {
    case LIST_TV_BOUQUETS:
        return wxT("getallservices?sRef=1:7:1:0:0:0:0:0:0:0:(type%20==%201)%20||%20(type%20==%2017)"
                   "%20||%20(type%20==%20195)%20||%20(type%20==%2025)FROM%20BOUQUET%20\"bouquets.tv\""
                   "%20ORDER%20BY%20bouquet");
    case LIST_TV_PROVIDERS:
        return wxT("getallservices?sRef=1:7:1:0:0:0:0:0:0:0:(type%20==%201)%20||%20(type%20==%2017)"
                   "%20||%20(type%20==%20195)%20||%20(type%20==%2025)%20FROM%20PROVIDERS%20ORDER%20BY%20name");
    case LIST_RA_PROVIDERS:
        return wxT("getallservices?sRef=1:7:2:0:0:0:0:0:0:0:(type%20==%202)%20FROM%20PROVIDERS%20ORDER%20BY%20name");
    case LIST_RA_BOUQUETS:
        return wxT("getallservices?sRef=1:7:2:0:0:0:0:0:0:0:(type%20==%202)FROM%20BOUQUET%20\"bouquets.radio\""
                   "%20ORDER%20BY%20bouquet");
    }
    return wxString();
}

wxString ProviderCacheName(int kind, long profile)
{
    if (kind == LIST_TV_PROVIDERS)
        return wxString::Format(wxT("tv-provider-%ld.xml"), profile);
    if (kind == LIST_RA_PROVIDERS)
        return wxString::Format(wxT("ra-provider-%ld.xml"), profile);
    return wxString();
}

bool IsMarkerSRef(const wxString& ref)
{
    return ref.StartsWith(wxT("1:64:"));
}

wxString EscapeBlanks(const wxString& ref)
{
    wxString out(ref);
    out.Replace(wxT(" "), wxT("%20"));
    return out;
}

static void ReadServices(const wxXmlNode* list, std::vector<ServiceEntry>& out)
{
    for (const wxXmlNode* s = list->GetChildren(); s; s = s->GetNext()) {
        if (s->GetType() != wxXML_ELEMENT_NODE || s->GetName() != wxT("e2service"))
            continue;
        // An entry counts once its name is read; the reference seen before it goes with it.
        wxString ref;
        for (const wxXmlNode* f = s->GetChildren(); f; f = f->GetNext()) {
            if (f->GetType() != wxXML_ELEMENT_NODE)
                continue;
            if (f->GetName() == wxT("e2servicereference"))
                ref = ElementText(f);
            else if (f->GetName() == wxT("e2servicename"))
                out.push_back(ServiceEntry{ref, StripEmphasis(ElementText(f))});
        }
    }
}

bool ParseServiceList(const wxString& xml, std::vector<ServiceBouquet>& bouquets)
{
    wxXmlDocument doc;
    if (!LoadReplyXml(xml, doc) || doc.GetRoot()->GetName() != wxT("e2servicelistrecursive"))
        return false;
    for (const wxXmlNode* b = doc.GetRoot()->GetChildren(); b; b = b->GetNext()) {
        if (b->GetType() != wxXML_ELEMENT_NODE || b->GetName() != wxT("e2bouquet"))
            continue;
        ServiceBouquet bouquet;
        for (const wxXmlNode* f = b->GetChildren(); f; f = f->GetNext()) {
            if (f->GetType() != wxXML_ELEMENT_NODE)
                continue;
            if (f->GetName() == wxT("e2servicereference")) {
                bouquet.rawRef = ElementText(f);
                bouquet.ref = EscapeBlanks(bouquet.rawRef);
            }
            else if (f->GetName() == wxT("e2servicename"))
                bouquet.name = StripEmphasis(ElementText(f));
            else if (f->GetName() == wxT("e2servicelist"))
                ReadServices(f, bouquet.services);
        }
        bouquets.push_back(std::move(bouquet));
    }
    return true;
}

wxString BouquetEntryPosition(int list, int group, int bouquet, int entry)
{
    return wxString::Format(wxT("%d.%d.%d.%d"), list, group, bouquet, entry);
}

wxString AllServicesPosition(int list, int number)
{
    return wxString::Format(wxT("%d.%d.%d"), list, 3, number);
}

wxString RenumberedPosition(const wxString& pos, int number)
{
    return pos.BeforeLast('.') + wxString::Format(wxT(".%d"), number);
}

int CompareServiceNames(const wxString& a, const wxString& b)
{
    // wxString compares wide characters, i.e. code points: upper case before lower case.
    return a.compare(b);
}

int CompareRecordingItems(const wxString& textA, const wxString& timeA, const wxString& textB,
                          const wxString& timeB, int sortMode)
{
    long long a = 0, b = 0;
    switch (sortMode) {
    case 1:
        return textB.compare(textA);
    case 2:
    case 3:
        timeA.ToLongLong(&a);
        timeB.ToLongLong(&b);
        if (a == b)
            return 0;
        return ((a < b) == (sortMode == 2)) ? -1 : 1;
    default:
        return textA.compare(textB);
    }
}
