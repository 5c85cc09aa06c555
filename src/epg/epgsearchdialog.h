// "Programmvorschau-Suche": a title search through the receiver's whole
// guide, or the events of the chosen bouquet at one moment.
#pragma once

#include <wx/dialog.h>

class wxChoice;
class wxDatePickerCtrl;
class wxTextCtrl;

class MyEPGSearchDialog : public wxDialog {
public:
    MyEPGSearchDialog();

    bool loaded = false;
    wxTextCtrl* term = nullptr;          // ID_TEXTCTRL_STRING
    wxDatePickerCtrl* day = nullptr;     // ID_DATECTRL_DAY
    wxChoice* hour = nullptr;            // ID_CHOICE_HOUR
    wxChoice* minute = nullptr;          // ID_CHOICE_MINUTE

    void OnButtonSearchString(wxCommandEvent& event);
    void OnButtonSearchTime(wxCommandEvent& event);
    void OnKey(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);

private:
    // Shows the results; closes this dialog after them, or comes back to
    // the front when there was nothing to show.
    void ShowResults(bool byTime, const wxString& text);

    wxDECLARE_EVENT_TABLE();
};
