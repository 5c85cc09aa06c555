// "Spende": the ways to support the program.
#pragma once

#include <wx/dialog.h>

class MyDonationDialog : public wxDialog {
public:
    explicit MyDonationDialog(wxWindow* parent);

    bool loaded = false;
    static const char* const kPayPalAddress;
    static const char* const kTransferAddress;

    void OnButtonPayPal(wxCommandEvent& event);
    void OnButtonTransfer(wxCommandEvent& event);
    void OnKey(wxCommandEvent& event);

private:
    wxDECLARE_EVENT_TABLE();
};
