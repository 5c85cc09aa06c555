#include "app/logframe.h"
#include "app/config.h"
#include "app/globals.h"
#include "app/seams.h"
#include "app/version.h"
#include "mainwindow/mainframe.h"

#include <gst/gst.h>
#include <wx/checkbox.h>
#include <wx/clipbrd.h>
#include <wx/datetime.h>
#include <wx/dcclient.h>
#include <wx/file.h>
#include <wx/html/helpctrl.h>
#include <wx/imaglist.h>
#include <wx/listctrl.h>
#include <wx/log.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

namespace {

const char* const kCheckNames[LOG_LEVELS] = {"ID_CHECKBOX_INF", "ID_CHECKBOX_WRN", "ID_CHECKBOX_ERR",
                                             "ID_CHECKBOX_VER"};
const char* const kCounterNames[LOG_LEVELS] = {"wxID_STATIC_INF", "wxID_STATIC_WRN", "wxID_STATIC_ERR",
                                               "wxID_STATIC_VER"};
const char* const kIconNames[LOG_LEVELS] = {"IMG_LOG_INF", "IMG_LOG_WRN", "IMG_LOG_ERR", "IMG_LOG_VER"};
const int kIconSize = 16;

// "HH:MM:SS: " and the level prefix, independent of the locale (the
// toolkit's own prefixes are translated, which would defeat classifying).
class TimeStampFormatter : public wxLogFormatter {
public:
    wxString Format(wxLogLevel level, const wxString& msg, const wxLogRecordInfo& info) const override
    {
        wxString line = wxDateTime(wxLongLong(info.timestampMS)).Format(wxT("%H:%M:%S: "));
        if (level == wxLOG_Error || level == wxLOG_FatalError)
            line += wxT("Error: ");
        else if (level == wxLOG_Warning)
            line += wxT("Warning: ");
        return line + msg;
    }
};

// Writes into the hidden text control and lets the window take the line at
// once, so each log call becomes exactly one entry.
class LogWindowTarget : public wxLog {
public:
    explicit LogWindowTarget(MyLogFrame* frame) : frame_(frame) { SetFormatter(new TimeStampFormatter); }
    // the toolkit deletes the active target itself at shutdown
    ~LogWindowTarget() override { frame_->TargetGone(); }
protected:
    void DoLogText(const wxString& msg) override
    {
        frame_->text_->AppendText(msg + wxT("\n"));
        frame_->TakeNewLines();
    }
private:
    MyLogFrame* frame_;
};

wxBitmap LogIcon(const char* name)
{
    wxBitmap bitmap;
    if (wxXmlResource::Get()->GetResourceNode(name)) {
        wxIcon icon = wxXmlResource::Get()->LoadIcon(name);
        if (icon.IsOk())
            bitmap.CopyFromIcon(icon);
    }
    if (bitmap.IsOk() && (bitmap.GetWidth() != kIconSize || bitmap.GetHeight() != kIconSize))
        bitmap = wxBitmap(bitmap.ConvertToImage().Rescale(kIconSize, kIconSize, wxIMAGE_QUALITY_HIGH));
    if (!bitmap.IsOk()) {
        // an empty icon keeps the indices of the others right
        wxImage blank(kIconSize, kIconSize);
        blank.InitAlpha();
        memset(blank.GetAlpha(), 0, kIconSize * kIconSize);
        bitmap = wxBitmap(blank);
    }
    return bitmap;
}

}  // namespace

int ClassifyLogLine(const wxString& line, size_t* prefixLength)
{
    const int blank = line.Find(wxT(' '));
    const wxString rest = blank == wxNOT_FOUND ? wxString() : line.Mid(size_t(blank) + 1);
    int level = LOG_INF;
    size_t length = 0;
    if (rest.StartsWith(wxT("Error: "))) {
        level = LOG_ERR;
        length = 7;
    } else if (rest.StartsWith(wxT("Warning: "))) {
        level = LOG_WRN;
        length = 9;
    } else if (rest.StartsWith(wxT("Verbose: "))) {
        level = LOG_VER;
        length = 9;
    }
    if (prefixLength)
        *prefixLength = length;
    return level;
}

wxString LogEntryText(const wxString& line, size_t prefixLength)
{
    return wxString::Format(wxT(" [%s] %s"), line.Left(8), line.Mid(10 + prefixLength));
}

wxBEGIN_EVENT_TABLE(MyLogFrame, wxFrame)
    EVT_CLOSE(MyLogFrame::OnClose)
    EVT_COMMAND(wxID_ANY, wxEVT_KEY, MyLogFrame::OnKey)
wxEND_EVENT_TABLE()

MyLogFrame::MyLogFrame(wxWindow* parent)
{
    if (!wxXmlResource::Get()->LoadFrame(this, parent, wxT("ID_LOGFRAME")))
        return;
    text_ = XRCCTRL(*this, "ID_TEXTCTRL_LOG", wxTextCtrl);
    all_ = XRCCTRL(*this, "ID_LISTCTRL_LOG", wxListCtrl);
    shown_ = XRCCTRL(*this, "ID_LISTCTRL_SEL", wxListCtrl);
    for (int i = 0; i < LOG_LEVELS; i++) {
        check_[i] = XRCCTRL(*this, kCheckNames[i], wxCheckBox);
        counter_[i] = XRCCTRL(*this, kCounterNames[i], wxStaticText);
    }
    if (!text_ || !all_ || !shown_) {
        text_ = nullptr;
        return;
    }

    images_ = new wxImageList(kIconSize, kIconSize, true);
    for (const char* name : kIconNames)
        images_->Add(LogIcon(name));
    all_->SetImageList(images_, wxIMAGE_LIST_SMALL);
    shown_->SetImageList(images_, wxIMAGE_LIST_SMALL);
    all_->InsertColumn(0, wxEmptyString);
    shown_->InsertColumn(0, wxEmptyString);

    text_->Bind(wxEVT_TEXT, &MyLogFrame::OnTextUpdate, this);
    for (wxCheckBox* box : check_)
        if (box)
            box->Bind(wxEVT_CHECKBOX, &MyLogFrame::OnCheckBox, this);
    if (wxWindow* copy = FindWindow(XRCID("ID_BUTTON_COPY")))
        copy->Bind(wxEVT_BUTTON, &MyLogFrame::OnButtonCopy, this);
    if (wxWindow* save = FindWindow(XRCID("ID_BUTTON_SAVE")))
        save->Bind(wxEVT_BUTTON, &MyLogFrame::OnButtonSave, this);

    target_ = new LogWindowTarget(this);
    delete wxLog::SetActiveTarget(target_);
    wxLog::SetVerbose(cmd_verbose);
    if (cmd_verbose) {
        if (check_[LOG_VER]) {
            check_[LOG_VER]->Enable();
            check_[LOG_VER]->SetValue(true);
        }
        if (counter_[LOG_VER])
            counter_[LOG_VER]->Enable();
        if (wxWindow* colon = FindWindow(XRCID("wxID_STATIC_VCN")))
            colon->Enable();
    }

    gchar* gst = gst_version_string();
    wxLogMessage(wxT("Zappora E2 %s [ %s | %s ]"), wxT(ZP_PROGRAM_VERSION), wxVERSION_STRING,
                 wxString::FromUTF8(gst));
    g_free(gst);
    wxLogMessage(wxT("%s"), wxGetOsDescription());
    if (config.videosink != wxT("xvimagesink"))
        wxLogWarning(wxT("VideoSink: %s"), config.videosink);

    SizeList();
    shown_->Bind(wxEVT_SIZE, &MyLogFrame::OnSize, this);
    if (GetSizer())
        GetSizer()->SetSizeHints(this);
    Fit();
    Centre(wxBOTH);
}

MyLogFrame::~MyLogFrame()
{
    // Only a target that is still active is ours to delete: at exit the
    // toolkit deletes the active target itself, possibly before this window.
    if (target_ && wxLog::GetActiveTarget() == target_) {
        // lines logged after this window is gone still need a place
        wxLog::SetActiveTarget(new wxLogStderr);
        delete target_;
    }
    if (all_)
        all_->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
    if (shown_)
        shown_->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
    delete images_;
    if (LogFrame == this)
        LogFrame = nullptr;
}

void MyLogFrame::SizeList()
{
    wxClientDC dc(shown_);
    dc.SetFont(shown_->GetFont());
    const wxSize sample = dc.GetTextExtent(wxT(" [00:00:00] Zappora E2 0.4.0 [ wxWidgets 3.2.2 | GStreamer 1.22.0 ]"));
    const int width = sample.x + wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, shown_) + 32;
    int height = 10 * sample.y;
    shown_->SetMinSize(wxSize(width, height));
    shown_->SetSize(wxSize(width, height));
    for (int step = 0; step < 400 && shown_->GetCountPerPage() < 10; step++) {
        height++;
        shown_->SetMinSize(wxSize(width, height));
        shown_->SetSize(wxSize(width, height));
    }
    shown_->SetColumnWidth(0, shown_->GetClientSize().x);
}

void MyLogFrame::TakeNewLines()
{
    if (!text_)
        return;
    const long end = text_->GetLastPosition();
    if (end <= readPos_)
        return;
    const wxString fresh = text_->GetRange(readPos_, end);
    const int lastFeed = fresh.Find(wxT('\n'), true);
    if (lastFeed == wxNOT_FOUND)
        return;
    const wxString line = fresh.Left(size_t(lastFeed));
    readPos_ += lastFeed + 1;

    size_t prefix = 0;
    const int level = ClassifyLogLine(line, &prefix);
    counters_[level]++;
    total_++;
    for (int i = 0; i < LOG_LEVELS; i++)
        if (counter_[i])
            counter_[i]->SetLabel(wxString::Format(wxT("%d"), counters_[i]));
    AddEntry(level, LogEntryText(line, prefix));
}

void MyLogFrame::AddEntry(int level, const wxString& text)
{
    all_->InsertItem(all_->GetItemCount(), text, level);
    // the filtered list always mirrors the filter, so appending is the same
    // as rebuilding it
    if (check_[level] && check_[level]->GetValue()) {
        const long row = shown_->InsertItem(shown_->GetItemCount(), text, level);
        shown_->EnsureVisible(row);
    }
}

void MyLogFrame::OnTextUpdate(wxCommandEvent&)
{
    TakeNewLines();
}

void MyLogFrame::OnCheckBox(wxCommandEvent&)
{
    shown_->Freeze();
    shown_->DeleteAllItems();
    const int count = all_->GetItemCount();
    for (int row = 0; row < count; row++) {
        wxListItem item;
        item.SetId(row);
        item.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_IMAGE);
        if (!all_->GetItem(item))
            continue;
        const int level = item.GetImage();
        if (level >= 0 && level < LOG_LEVELS && check_[level] && check_[level]->GetValue())
            shown_->InsertItem(shown_->GetItemCount(), item.GetText(), level);
    }
    shown_->Thaw();
    if (shown_->GetItemCount() > 0)
        shown_->EnsureVisible(shown_->GetItemCount() - 1);
}

void MyLogFrame::OnButtonCopy(wxCommandEvent&)
{
    if (wxTheClipboard->Open()) {
        wxTheClipboard->SetData(new wxTextDataObject(text_->GetValue()));
        wxTheClipboard->Flush();
        wxTheClipboard->Close();
    }
    ZPMessageBox(_(wxT("Die Log-Nachrichten wurden in die Zwischenablage kopiert.")), wxOK | wxICON_INFORMATION,
                 this);
}

void MyLogFrame::OnButtonSave(wxCommandEvent&)
{
    const wxString path = CFG_PATH + wxT("zappora.log");
    wxFile file;
    bool ok;
    {
        wxLogNull quiet;
        ok = file.Create(path, true);
        if (ok) {
            // the buffer lives only as long as the string it came from
            const wxString content = text_->GetValue();
            const wxScopedCharBuffer utf8 = content.utf8_str();
            ok = file.Write(utf8.data(), utf8.length()) == utf8.length();
            ok = file.Close() && ok;
        }
    }
    if (!ok) {
        ZPMessageBox(_(wxT("Die Logdatei konnte nicht erstellt werden!")), wxOK | wxICON_ERROR, this);
        return;
    }
    ZPMessageBox(wxString::Format(_(wxT("Die Log-Nachrichten wurden in die Datei\n\n%s\n\ngespeichert.")), path),
                 wxOK | wxICON_INFORMATION, this);
}

void MyLogFrame::OnSize(wxSizeEvent& event)
{
    if (shown_)
        shown_->SetColumnWidth(0, shown_->GetClientSize().x);
    event.Skip();
}

void MyLogFrame::OnKey(wxCommandEvent& event)
{
    if (event.GetId() == WXK_ESCAPE)
        Close();
    else if (event.GetId() == WXK_F1 && MainFrame && MainFrame->help)
        MainFrame->help->Display(wxT("Logger.htm"));
    event.Skip();
}

void MyLogFrame::OnClose(wxCloseEvent& event)
{
    Hide();
    if (event.CanVeto())
        event.Veto();
    else
        Destroy();
}
