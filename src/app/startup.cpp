#include "app/startup.h"

#include <climits>
#include <wx/tokenzr.h>
#include <wx/xml/xml.h>

#include "webif/services.h"

int SplashGaugeRange(bool dontCheckStandby, bool tvProviders, bool raProviders)
{
    int range = 6;
    if (dontCheckStandby)
        range -= 2;
    if (tvProviders)
        range += 1;
    if (raProviders)
        range += 1;
    return range;
}

WebIFVersion ParseWebIFVersion(const wxString& text)
{
    WebIFVersion v;
    int* parts[3] = {&v.major, &v.minor, &v.patch};
    wxStringTokenizer tok(text, wxT("."), wxTOKEN_RET_EMPTY_ALL);
    for (int i = 0; i < 3 && tok.HasMoreTokens(); ++i) {
        long n = 0;
        if (tok.GetNextToken().Trim().Trim(false).ToLong(&n) && n >= 0 && n <= INT_MAX)
            *parts[i] = int(n);
    }
    return v;
}

DeviceInfo ParseDeviceInfo(const wxString& xml)
{
    DeviceInfo info;
    wxXmlDocument doc;
    if (!LoadReplyXml(xml, doc) || doc.GetRoot()->GetName() != wxT("e2deviceinfo"))
        return info;
    info.valid = true;
    for (wxXmlNode* n = doc.GetRoot()->GetChildren(); n; n = n->GetNext()) {
        if (n->GetName() == wxT("e2webifversion"))
            info.version = ElementText(n);
        else if (n->GetName() == wxT("e2devicename"))
            info.model = ElementText(n);
    }
    return info;
}
