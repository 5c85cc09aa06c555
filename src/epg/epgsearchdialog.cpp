#include "epg/epgsearchdialog.h"

#include <wx/choice.h>
#include <wx/datectrl.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>
#include <wx/xrc/xmlres.h>

#include "app/globals.h"
#include "app/seams.h"
#include "epg/epgdialogs.h"
#include "epg/epgrules.h"
#include "epg/epgsearchresultdialog.h"
#include "mainwindow/mainframe.h"
#include "mainwindow/treectrl.h"
#include "webif/payload.h"

wxBEGIN_EVENT_TABLE(MyEPGSearchDialog, wxDialog)
    EVT_BUTTON(XRCID("ID_BITMAPBUTTON_STRING"), MyEPGSearchDialog::OnButtonSearchString)
    EVT_TEXT_ENTER(XRCID("ID_TEXTCTRL_STRING"), MyEPGSearchDialog::OnButtonSearchString)
    EVT_BUTTON(XRCID("ID_BITMAPBUTTON_TIME"), MyEPGSearchDialog::OnButtonSearchTime)
    EVT_COMMAND(wxID_ANY, wxEVT_KEY, MyEPGSearchDialog::OnKey)
    EVT_CLOSE(MyEPGSearchDialog::OnClose)
wxEND_EVENT_TABLE()

MyEPGSearchDialog::MyEPGSearchDialog()
{
    loaded = wxXmlResource::Get()->LoadDialog(this, EPGDialogParent(), wxT("ID_DIALOG_EPGSEARCH"));
    if (!loaded)
        return;
    term = XRCCTRL(*this, "ID_TEXTCTRL_STRING", wxTextCtrl);
    day = XRCCTRL(*this, "ID_DATECTRL_DAY", wxDatePickerCtrl);
    hour = XRCCTRL(*this, "ID_CHOICE_HOUR", wxChoice);
    minute = XRCCTRL(*this, "ID_CHOICE_MINUTE", wxChoice);
    if (hour) {
        for (int h = 0; h < 24; ++h)
            hour->Append(wxString::Format(wxT("%.2d"), h));
        hour->SetSelection(20);
    }
    if (minute) {
        for (int m = 0; m < 60; ++m)
            minute->Append(wxString::Format(wxT("%.2d"), m));
        minute->SetSelection(15);
    }
    if (GetSizer())
        GetSizer()->Fit(this);
    CentreOnParent();
    if (term)
        term->SetFocus();
}

void MyEPGSearchDialog::ShowResults(bool byTime, const wxString& text)
{
    auto* results = new MyEPGSearchResultDialog(byTime, text);
    if (!results->loaded) {
        results->Destroy();
        Raise();
        return;
    }
    Hide();
    results->ShowModal();
    results->Destroy();
    Close();
}

void MyEPGSearchDialog::OnButtonSearchString(wxCommandEvent&)
{
    const wxString text = term ? term->GetValue() : wxString();
    if (text.empty()) {
        ZPMessageBox(_(wxT("Bitte einen Suchbegriff eingeben!")), wxOK | wxICON_WARNING, this);
        return;
    }
    if (text.length() < 3) {
        ZPMessageBox(_(wxT("Bitte einen Suchbegriff mit mindestens 3 Zeichen eingeben!")),
                     wxOK | wxICON_WARNING, this);
        return;
    }
    ShowResults(false, text);
}

void MyEPGSearchDialog::OnButtonSearchTime(wxCommandEvent&)
{
    if (!day || !hour || !minute || !MainFrame || !MainFrame->tree)
        return;
    const wxDateTime date = day->GetValue();
    const time_t moment = LocalMoment(date.GetYear(), date.GetMonth() + 1, date.GetDay(),
                                      hour->GetSelection(), minute->GetSelection());
    wxTreeCtrl* tree = MainFrame->tree;
    wxTreeItemId item = tree->GetSelection();
    // A tree without a chosen item reports its hidden root.
    if (!item.IsOk() || item == tree->GetRootItem()) {
        ZPMessageBox(_(wxT("Bitte zuerst einen Kanal oder ein Bouquet auswählen.")),
                     wxOK | wxICON_INFORMATION, this);
        return;
    }
    auto* payload = dynamic_cast<MyServicePayload*>(tree->GetItemData(item));
    if (payload && payload->getMode() != 0) {
        item = tree->GetItemParent(item);
        payload = item.IsOk() ? dynamic_cast<MyServicePayload*>(tree->GetItemData(item)) : nullptr;
    }
    if (!payload)
        return;
    ShowResults(true, TimeSearchText(moment, payload->getRawSRef()));
}

void MyEPGSearchDialog::OnKey(wxCommandEvent& event)
{
    HandleDialogKey(this, event, wxT("EPG-Suche.htm"));
}

void MyEPGSearchDialog::OnClose(wxCloseEvent&)
{
    CloseGuideDialog(this);
}
