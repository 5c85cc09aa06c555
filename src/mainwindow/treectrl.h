// The channel and recording tree of the main window; created from the layout
// document through the "subclass" attribute of "ID_TREECTRL1".
#pragma once

#include <wx/treectrl.h>

// Order of two sibling labels when the tree sorts a group: <0, 0, >0.
int CompareTreeItems(const wxString& a, const wxString& b);

class MyTreeCtrl : public wxTreeCtrl {
public:
    MyTreeCtrl() = default;
    MyTreeCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
               const wxSize& size = wxDefaultSize, long style = wxTR_DEFAULT_STYLE);

    int OnCompareItems(const wxTreeItemId& item1, const wxTreeItemId& item2) override;

private:
    wxDECLARE_DYNAMIC_CLASS(MyTreeCtrl);
};
