#include "mainwindow/treectrl.h"

wxIMPLEMENT_DYNAMIC_CLASS(MyTreeCtrl, wxTreeCtrl);

// Plain label order until the channel lists bring their own rules.
__attribute__((weak)) int CompareTreeItems(const wxString& a, const wxString& b)
{
    return a.compare(b);
}

MyTreeCtrl::MyTreeCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                       const wxSize& size, long style)
    : wxTreeCtrl(parent, id, pos, size, style)
{
}

int MyTreeCtrl::OnCompareItems(const wxTreeItemId& item1, const wxTreeItemId& item2)
{
    return CompareTreeItems(GetItemText(item1), GetItemText(item2));
}
