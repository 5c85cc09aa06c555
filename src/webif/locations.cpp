#include "webif/locations.h"

#include <wx/xml/xml.h>

#include "webif/services.h"
#include "webif/webif.h"

bool ParseLocations(const wxString& xml, std::vector<wxString>& locations)
{
    wxXmlDocument doc;
    if (!LoadReplyXml(xml, doc) || doc.GetRoot()->GetName() != wxT("e2locations"))
        return false;
    std::vector<wxString> found;
    for (const wxXmlNode* n = doc.GetRoot()->GetChildren(); n; n = n->GetNext()) {
        if (n->GetType() != wxXML_ELEMENT_NODE || n->GetName() != wxT("e2location"))
            continue;
        wxString dir = ElementText(n);
        dir.Trim(true).Trim(false);
        if (!dir.empty())
            found.push_back(dir);
    }
    locations.swap(found);
    return true;
}

bool RequestLocations(std::vector<wxString>& locations)
{
    if (!getWebIF("getlocations"))
        return false;
    return ParseLocations(result, locations);
}
