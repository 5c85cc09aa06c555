// The guide lists: virtual report lists whose cells come from the dialog's
// rows when they are drawn, so thousands of events fill at once (a filled
// list control measures the text of every cell it is given).
#pragma once

#include <functional>
#include <vector>
#include <wx/listctrl.h>

class MyEPGListCtrl : public wxListCtrl {
public:
    MyEPGListCtrl() = default;

    // The text of a cell; column 0 is the empty first column.
    using Cells = std::function<wxString(long row, long column)>;
    void SetCells(Cells cells) { cells_ = std::move(cells); }
    // Shows rows 0..count-1 from the cell source, striped.
    void ShowRows(long count);

    // Width that fits the heading and the given texts of a column.
    int FitWidth(int column, const std::vector<wxString>& texts);

protected:
    wxString OnGetItemText(long item, long column) const override;
    wxListItemAttr* OnGetItemAttr(long item) const override;

private:
    Cells cells_;
    mutable wxListItemAttr odd_;
    wxDECLARE_DYNAMIC_CLASS(MyEPGListCtrl);
};
