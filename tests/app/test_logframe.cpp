#include <gtest/gtest.h>

#include <thread>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/clipbrd.h>
#include <wx/listctrl.h>
#include <wx/log.h>
#include <wx/regex.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/tokenzr.h>
#include <wx/xrc/xmlres.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/gstlog.h"
#include "app/logframe.h"
#include "app/version.h"
#include "app/windows.h"
#include "mainwindow/mainframe.h"
#include "apptest.h"
#include "support/msgbox.h"

namespace {

class LogWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadResourcesOnce();
        dir = MakeTempDir();
        CFG_PATH = dir;
        MainFrame = nullptr;
    }
    void TearDown() override
    {
        delete frame;
        wxFileName::Rmdir(dir, wxPATH_RMDIR_RECURSIVE);
        cmd_verbose = false;
    }
    void Open(bool verbose, const wxString& sink = wxT("xvimagesink"))
    {
        cmd_verbose = verbose;
        config.videosink = sink;
        frame = new MyLogFrame();
        LogFrame = frame;
        ASSERT_TRUE(frame->loaded());
    }
    std::vector<wxString> Shown() const
    {
        std::vector<wxString> rows;
        for (int i = 0; i < frame->shown_->GetItemCount(); i++)
            rows.push_back(frame->shown_->GetItemText(i));
        return rows;
    }
    int ShownImage(int row) const
    {
        wxListItem item;
        item.SetId(row);
        item.SetMask(wxLIST_MASK_IMAGE);
        frame->shown_->GetItem(item);
        return item.GetImage();
    }
    void Click(wxWindow* control, wxEventType type)
    {
        wxCommandEvent event(type, control->GetId());
        event.SetEventObject(control);
        control->GetEventHandler()->ProcessEvent(event);
    }
    void Toggle(int level, bool on)
    {
        frame->check_[level]->SetValue(on);
        Click(frame->check_[level], wxEVT_CHECKBOX);
    }
    wxString Counter(int level) const { return frame->counter_[level]->GetLabel(); }
    bool ShownContains(const wxString& text) const
    {
        for (const wxString& row : Shown())
            if (row.Contains(text))
                return true;
        return false;
    }

    MyLogFrame* frame = nullptr;
    wxString dir;
};

}  // namespace

TEST_F(LogWindow, StartLinesAndRawFormat)
{
    Open(false, wxT("ximagesink"));
    EXPECT_EQ(frame->count(LOG_INF), 2);
    EXPECT_EQ(frame->count(LOG_WRN), 1);
    std::vector<wxString> rows = Shown();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].Contains(wxT("] Zappora E2 " ZP_PROGRAM_VERSION " [ wxWidgets 3.")));
    EXPECT_TRUE(rows[0].Contains(wxT(" | GStreamer 1.")));
    EXPECT_EQ(rows[2].Mid(11), wxT(" VideoSink: ximagesink"));
    EXPECT_EQ(ShownImage(2), LOG_WRN);

    wxLogError(wxT("kaputt %d"), 7);
    wxStringTokenizer lines(frame->text_->GetValue(), wxT("\n"));
    wxString last;
    while (lines.HasMoreTokens())
        last = lines.GetNextToken();
    wxRegEx raw(wxT("^[0-2][0-9]:[0-5][0-9]:[0-5][0-9]: Error: kaputt 7$"));
    EXPECT_TRUE(raw.Matches(last)) << last;
    EXPECT_EQ(Counter(LOG_ERR), wxT("1"));
    EXPECT_EQ(frame->total(), 4);
    EXPECT_FALSE(frame->IsShown());
}

TEST_F(LogWindow, CountingAndFiltering)
{
    Open(false);
    wxLogError(wxT("erster Fehler"));
    wxLogWarning(wxT("eine Warnung"));
    wxLogMessage(wxT("eine Information"));
    EXPECT_EQ(Counter(LOG_ERR), wxT("1"));
    EXPECT_EQ(Counter(LOG_WRN), wxT("1"));
    EXPECT_EQ(Counter(LOG_INF), wxT("3"));
    EXPECT_TRUE(ShownContains(wxT("] erster Fehler")));

    Toggle(LOG_ERR, false);
    EXPECT_FALSE(ShownContains(wxT("Fehler")));
    EXPECT_TRUE(ShownContains(wxT("] eine Warnung")));
    wxLogError(wxT("zweiter Fehler"));
    EXPECT_EQ(Counter(LOG_ERR), wxT("2"));
    EXPECT_FALSE(ShownContains(wxT("zweiter Fehler")));

    Toggle(LOG_INF, false);
    EXPECT_EQ(Shown().size(), 1u);

    Toggle(LOG_ERR, true);
    Toggle(LOG_INF, true);
    std::vector<wxString> rows = Shown();
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_TRUE(rows[2].EndsWith(wxT("] erster Fehler")));
    EXPECT_EQ(ShownImage(2), LOG_ERR);
    EXPECT_TRUE(rows[5].EndsWith(wxT("] zweiter Fehler")));
    EXPECT_EQ(frame->all_->GetItemCount(), 6);
}

TEST_F(LogWindow, VerboseOnlyWithTheSwitch)
{
    Open(false);
    EXPECT_FALSE(frame->check_[LOG_VER]->IsEnabled());
    const int before = frame->total();
    wxLogVerbose(wxT("Verbose: unsichtbar"));
    EXPECT_EQ(frame->total(), before);
    delete frame;

    Open(true);
    EXPECT_TRUE(frame->check_[LOG_VER]->IsEnabled());
    EXPECT_TRUE(frame->check_[LOG_VER]->GetValue());
    wxLogVerbose(wxT("Verbose: sichtbar"));
    EXPECT_EQ(Counter(LOG_VER), wxT("1"));
    EXPECT_TRUE(Shown().back().EndsWith(wxT("] sichtbar")));
    EXPECT_EQ(ShownImage(int(Shown().size()) - 1), LOG_VER);
    GSTLog(3, "pad added: video_0200");
    wxTheApp->ProcessPendingEvents();
    EXPECT_TRUE(Shown().back().EndsWith(wxT("] GSTR pad added: video_0200")));
    Toggle(LOG_VER, false);
    EXPECT_FALSE(ShownContains(wxT("sichtbar")));
}

TEST_F(LogWindow, MultiLineMessageIsOneEntry)
{
    Open(false);
    const int before = frame->total();
    wxLogWarning(wxT("Zeile eins\nZeile zwei\nZeile drei"));
    EXPECT_EQ(frame->total(), before + 1);
    EXPECT_EQ(frame->count(LOG_WRN), 1);
    EXPECT_TRUE(Shown().back().EndsWith(wxT("] Zeile eins\nZeile zwei\nZeile drei")));
    wxLogMessage(wxT("danach"));
    EXPECT_EQ(frame->total(), before + 2);
    EXPECT_TRUE(Shown().back().EndsWith(wxT("] danach")));
}

TEST_F(LogWindow, GstLogFromAnotherThreadArrivesOnTheGuiThread)
{
    Open(false);
    std::thread worker([] {
        GSTLog(2, "ERR [souphttpsrc0#Could not connect#Verbindung abgelehnt]");
        GSTLog(1, "WRN [queue#kein Trenner]");
        GSTLog(3, "pad added");
        GSTLog(0, "INF Ende");
    });
    worker.join();
    // nothing is logged on the streaming thread itself
    EXPECT_FALSE(ShownContains(wxT("GSTR")));
    wxTheApp->ProcessPendingEvents();
    EXPECT_TRUE(ShownContains(wxT("] GSTR ERR [souphttpsrc0: Could not connect => Verbindung abgelehnt]")));
    EXPECT_TRUE(ShownContains(wxT("] GSTR WRN [queue:  => kein Trenner]")));
    EXPECT_FALSE(ShownContains(wxT("pad added")));
    EXPECT_TRUE(Shown().back().EndsWith(wxT("] INF Ende")));
    EXPECT_EQ(frame->count(LOG_ERR), 1);
    EXPECT_EQ(frame->count(LOG_WRN), 1);
}

TEST_F(LogWindow, SavingReplacesTheFile)
{
    Open(false);
    wxWindow* save = frame->FindWindow(XRCID("ID_BUTTON_SAVE"));
    ASSERT_TRUE(save);
    const wxString path = dir + wxT("zappora.log");
    wxLogMessage(wxT("erste Sitzung äö"));
    {
        MessageBoxRecorder rec;
        Click(save, wxEVT_BUTTON);
        ASSERT_EQ(rec.boxes().size(), 1u);
        EXPECT_EQ(rec.boxes()[0].text, wxT("Die Log-Nachrichten wurden in die Datei\n\n") + path + wxT("\n\ngespeichert."));
        EXPECT_TRUE(rec.boxes()[0].style & wxICON_INFORMATION);
    }
    EXPECT_EQ(ReadText(path), frame->text_->GetValue());
    EXPECT_TRUE(ReadText(path).Contains(wxT("erste Sitzung äö")));

    WriteBytes(path, std::string(100000, 'x'));
    wxLogMessage(wxT("zweite"));
    {
        MessageBoxRecorder rec;
        Click(save, wxEVT_BUTTON);
        EXPECT_EQ(rec.boxes().size(), 1u);
    }
    EXPECT_EQ(ReadText(path), frame->text_->GetValue());

    CFG_PATH = dir + wxT("fehlt/");
    {
        MessageBoxRecorder rec;
        Click(save, wxEVT_BUTTON);
        ASSERT_EQ(rec.boxes().size(), 1u);
        EXPECT_EQ(rec.boxes()[0].text, wxT("Die Logdatei konnte nicht erstellt werden!"));
        EXPECT_TRUE(rec.boxes()[0].style & wxICON_ERROR);
    }
}

TEST_F(LogWindow, CopyToClipboard)
{
    Open(false);
    wxLogError(wxT("für die Zwischenablage"));
    wxWindow* copy = frame->FindWindow(XRCID("ID_BUTTON_COPY"));
    ASSERT_TRUE(copy);
    {
        MessageBoxRecorder rec;
        Click(copy, wxEVT_BUTTON);
        ASSERT_EQ(rec.boxes().size(), 1u);
        EXPECT_EQ(rec.boxes()[0].text, wxT("Die Log-Nachrichten wurden in die Zwischenablage kopiert."));
    }
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTextDataObject data;
    EXPECT_TRUE(wxTheClipboard->GetData(data));
    wxTheClipboard->Close();
    EXPECT_EQ(data.GetText(), frame->text_->GetValue());
    EXPECT_TRUE(data.GetText().Contains(wxT(": Error: für die Zwischenablage\n")));
}

TEST_F(LogWindow, ClosingAndEscapeOnlyHide)
{
    Open(false);
    frame->Show();
    EXPECT_FALSE(frame->Close());
    EXPECT_FALSE(frame->IsShown());
    EXPECT_FALSE(frame->IsBeingDeleted());

    frame->Show();
    wxCommandEvent key(wxEVT_KEY, WXK_ESCAPE);
    frame->GetEventHandler()->ProcessEvent(key);
    EXPECT_FALSE(frame->IsShown());
    wxLogMessage(wxT("lebt noch"));
    EXPECT_TRUE(Shown().back().EndsWith(wxT("] lebt noch")));
}

TEST_F(LogWindow, ListWidthFollowsItsSize)
{
    Open(false);
    EXPECT_GE(frame->shown_->GetCountPerPage(), 10);
    frame->shown_->SetSize(wxSize(400, 200));
    wxSizeEvent size(wxSize(400, 200), frame->shown_->GetId());
    size.SetEventObject(frame->shown_);
    frame->shown_->GetEventHandler()->ProcessEvent(size);
    EXPECT_EQ(frame->shown_->GetColumnWidth(0), frame->shown_->GetClientSize().x);
}

TEST_F(LogWindow, GstErrorReachesTheMainWindow)
{
    Open(false);
    ASSERT_TRUE(CreateTopLevelWindows());
    ASSERT_NE(MainFrame, nullptr);
    ASSERT_NE(MainFrame->GetStatusBar(), nullptr);
    std::thread worker([] { GSTLog(2, "ERR [tsdemux0#Interner Fehler#kein Datenstrom]"); });
    worker.join();
    wxTheApp->ProcessPendingEvents();
    EXPECT_EQ(MainFrame->GetStatusBar()->GetStatusText(0), wxT("Streaming fehlgeschlagen"));
    EXPECT_TRUE(Shown().back().EndsWith(wxT("] GSTR ERR [tsdemux0: Interner Fehler => kein Datenstrom]")));
    EXPECT_EQ(frame->count(LOG_ERR), 1);
}
