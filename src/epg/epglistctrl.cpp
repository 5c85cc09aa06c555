#include "epg/epglistctrl.h"

#include <wx/settings.h>

wxIMPLEMENT_DYNAMIC_CLASS(MyEPGListCtrl, wxListCtrl);

void MyEPGListCtrl::ShowRows(long count)
{
    odd_.SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    SetItemCount(count);
    Refresh();
}

wxString MyEPGListCtrl::OnGetItemText(long item, long column) const
{
    return cells_ ? cells_(item, column) : wxString();
}

wxListItemAttr* MyEPGListCtrl::OnGetItemAttr(long item) const
{
    // Odd rows on the button face; even rows keep the list's own colours.
    return item % 2 ? &odd_ : nullptr;
}

int MyEPGListCtrl::FitWidth(int column, const std::vector<wxString>& texts)
{
    wxListItem heading;
    heading.SetMask(wxLIST_MASK_TEXT);
    GetColumn(column, heading);
    int widest = 0, w = 0, h = 0;
    GetTextExtent(heading.GetText(), &w, &h);
    widest = w + 24;   // room for the heading's sort arrow and padding
    for (const wxString& t : texts) {
        GetTextExtent(t, &w, &h);
        if (w + 16 > widest)
            widest = w + 16;
    }
    return widest;
}
