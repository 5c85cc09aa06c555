#include "mainwindow/donationdialog.h"

#include <wx/bmpbuttn.h>
#include <wx/sizer.h>
#include <wx/xrc/xmlres.h>

#include "app/globals.h"
#include "app/seams.h"
#include "mainwindow/browser.h"

const char* const MyDonationDialog::kPayPalAddress = "https://zappora.example.org/donate/paypal";
const char* const MyDonationDialog::kTransferAddress = "https://zappora.example.org/donate/transfer";

wxBEGIN_EVENT_TABLE(MyDonationDialog, wxDialog)
    EVT_BUTTON(XRCID("ID_BUTTON_DONATION_PAYPAL"), MyDonationDialog::OnButtonPayPal)
    EVT_BUTTON(XRCID("ID_BUTTON_DONATION_EBANKING"), MyDonationDialog::OnButtonTransfer)
    EVT_COMMAND(wxID_ANY, wxEVT_KEY, MyDonationDialog::OnKey)
wxEND_EVENT_TABLE()

MyDonationDialog::MyDonationDialog(wxWindow* parent)
{
    loaded = wxXmlResource::Get()->LoadDialog(this, parent, wxT("ID_DIALOG_DONATION"));
    if (!loaded)
        return;
    if (GetSizer())
        GetSizer()->SetSizeHints(this);
    CentreOnParent();
}

static void Open(wxWindow* parent, const char* address)
{
    const wxString url = wxString::FromUTF8(address);
    if (!OpenInBrowser(url))
        ZPMessageBox(wxString::Format(_(wxT("Die Adresse\n\n%s\n\nkonnte nicht geöffnet werden.")), url),
                     wxOK | wxICON_WARNING, parent);
}

void MyDonationDialog::OnButtonPayPal(wxCommandEvent&)
{
    Open(this, kPayPalAddress);
}

void MyDonationDialog::OnButtonTransfer(wxCommandEvent&)
{
    Open(this, kTransferAddress);
}

void MyDonationDialog::OnKey(wxCommandEvent& event)
{
    if (event.GetId() == WXK_ESCAPE) {
        if (IsModal())
            EndModal(wxID_CANCEL);
        else
            Close();
    }
    event.Skip();
}
