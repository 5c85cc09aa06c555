// What every playable tree entry tells the switching code. Channel entries
// (MyChannelItemData) and recordings (MyMovieItemData) both derive from it.
#pragma once

#include <wx/treebase.h>
#include <wx/string.h>

class MyServicePayload : public wxTreeItemData {
public:
    virtual int getMode() const = 0;          // 0 bouquet/provider, 1 TV, 2 radio, 3 recording
    virtual wxString getSRef() const = 0;
    // The reference as the receiver wrote it: the value for a query (QueryValue).
    virtual wxString getRawSRef() const { return getSRef(); }
    virtual wxString getTitle() const { return wxString(); }
    virtual wxString getDescription() const { return wxString(); }
    virtual wxString getTime() const { return wxString(); }   // seconds since the epoch
};
