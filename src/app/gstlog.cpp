#include "app/gstlog.h"
#include "app/globals.h"
#include "mainwindow/mainframe.h"

#include <cstring>
#include <wx/app.h>
#include <wx/event.h>
#include <wx/log.h>
#include <wx/intl.h>

void GSTLog(int level, const char* text)
{
    wxEvtHandler* target = MainFrame ? static_cast<wxEvtHandler*>(MainFrame)
                                     : static_cast<wxEvtHandler*>(wxTheApp);
    if (!target)
        return;
    const char* src = text ? text : "";
    const size_t len = std::strlen(src);
    char* copy = new char[len + 1];
    std::memcpy(copy, src, len + 1);
    wxCommandEvent* event = new wxCommandEvent(wxEVT_GST, GST_EVENT_LOG);
    event->SetInt(level);
    event->SetClientData(copy);
    wxQueueEvent(target, event);
}

wxString FormatGstProblem(const wxString& text)
{
    const wxString head = text.BeforeFirst(wxT('#'));
    const wxString tail = text.AfterLast(wxT('#'));
    wxString middle;
    const int first = text.Find(wxT('#'));
    const int last = text.Find(wxT('#'), true);
    if (first != wxNOT_FOUND && last > first)
        middle = text.Mid(size_t(first) + 1, size_t(last - first - 1));
    return wxString::Format(wxT("GSTR %s: %s => %s"), head, middle, tail);
}

void LogGstEvent(wxCommandEvent& event)
{
    char* data = static_cast<char*>(event.GetClientData());
    event.SetClientData(nullptr);
    const wxString text = data ? wxString::FromUTF8(data) : wxString();
    delete[] data;

    switch (event.GetInt()) {
    case 2:
        if (MainFrame && MainFrame->GetStatusBar())
            MainFrame->SetStatusText(_(wxT("Streaming fehlgeschlagen")), 0);
        wxLogError(wxT("%s"), FormatGstProblem(text));
        break;
    case 1:
        wxLogWarning(wxT("%s"), FormatGstProblem(text));
        break;
    case 3:
        if (cmd_verbose)
            wxLogVerbose(wxT("Verbose: GSTR %s"), text);
        break;
    default:
        wxLogMessage(wxT("%s"), text);
        break;
    }
}
