#include "webif/locations.h"

#include "webif/services.h"
#include "webif/webif.h"

bool ParseLocations(const wxString& xml, std::vector<wxString>& locations)
{
    std::vector<wxString> found;
    if (!ParseTextList(xml, wxT("e2locations"), wxT("e2location"), found))
        return false;
    locations.swap(found);
    return true;
}

bool RequestLocations(std::vector<wxString>& locations)
{
    if (!getWebIF("getlocations"))
        return false;
    return ParseLocations(result, locations);
}
