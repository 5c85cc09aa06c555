// Main window: the programme-guide and timer dialogs, and the one pending
// reminder that switches the player when an event begins.
#include "mainwindow/mainframe.h"

#include <wx/treectrl.h>

#include "app/seams.h"
#include "epg/epgdialog.h"
#include "epg/epgrules.h"
#include "epg/epgsearchdialog.h"
#include "epg/multiepgdialog.h"
#include "epg/timerdialog.h"
#include "mainwindow/treectrl.h"
#include "webif/payload.h"

static MyServicePayload* Payload(wxTreeCtrl* tree, const wxTreeItemId& item)
{
    if (!tree || !item.IsOk())
        return nullptr;
    return dynamic_cast<MyServicePayload*>(tree->GetItemData(item));
}

void MyMainFrame::SetReminder(wxTreeItemData* payload, long long delaySeconds)
{
    reminderPayload.reset(payload);
    pendingZap = payload;
    reminderDue = (long long)EPGNow() + delaySeconds;
    zapTimer.StartOnce(ReminderInterval(delaySeconds * 1000));
}

bool MyMainFrame::ReminderNotYetDue()
{
    if (!reminderPayload || pendingZap != reminderPayload.get())
        return false;
    // A timer step may end a moment early; the last second is not waited for.
    const long long left = reminderDue - (long long)EPGNow();
    if (left <= 1)
        return false;
    zapTimer.StartOnce(ReminderInterval(left * 1000));
    return true;
}

void MyMainFrame::OpenChannelEPG(const wxString& sRef)
{
    auto* dialog = new MyEPGDialog(sRef);
    if (dialog->loaded)
        dialog->ShowModal();
    dialog->Destroy();
}

void MyMainFrame::OpenBouquetEPG(const wxTreeItemId& item)
{
    MyServicePayload* bouquet = Payload(tree, item);
    if (!bouquet)
        return;
    auto* dialog = new MyMultiEPGDialog(tree->GetItemText(item), bouquet->getRawSRef(), item);
    if (dialog->loaded)
        dialog->ShowModal();
    dialog->Destroy();
}

void MyMainFrame::OnToolChannelEPG(wxCommandEvent&)
{
    OpenChannelEPG(currentSRef);
}

void MyMainFrame::OnMenuTVRAEPG(wxCommandEvent&)
{
    if (MyServicePayload* service = Payload(tree, tree ? tree->GetSelection() : wxTreeItemId()))
        OpenChannelEPG(service->getSRef());
}

void MyMainFrame::OnToolBouquetEPG(wxCommandEvent&)
{
    wxTreeItemId item = tree ? tree->GetSelection() : wxTreeItemId();
    MyServicePayload* payload = Payload(tree, item);
    if (payload && payload->getMode() != 0) {
        item = tree->GetItemParent(item);
        payload = Payload(tree, item);
    }
    if (!payload) {
        ZPMessageBox(_(wxT("Bitte zuerst einen Kanal oder ein Bouquet auswählen.")), wxOK, this);
        return;
    }
    OpenBouquetEPG(item);
}

void MyMainFrame::OnToolEPGSearch(wxCommandEvent&)
{
    auto* dialog = new MyEPGSearchDialog();
    if (dialog->loaded)
        dialog->ShowModal();
    dialog->Destroy();
}

void MyMainFrame::OnToolTimer(wxCommandEvent&)
{
    auto* dialog = new MyTimerDialog();
    if (dialog->loaded)
        dialog->ShowModal();
    dialog->Destroy();
}
