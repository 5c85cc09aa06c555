#include <gtest/gtest.h>

#include <wx/dir.h>
#include <wx/filename.h>

#include "app/cmdline.h"
#include "app/config.h"
#include "app/globals.h"
#include "app/seams.h"
#include "stream/pipeline.h"
#include "apptest.h"
#include "support/msgbox.h"

namespace {

CmdLineResult Eval(std::initializer_list<const char*> options, int profiles = 1)
{
    wxArrayString args;
    args.Add(wxT("zappora"));
    for (const char* o : options)
        args.Add(wxString::FromUTF8(o));
    return EvaluateCommandLine(args, profiles);
}

}  // namespace

TEST(CommandLine, EverySwitchShortAndLong)
{
    CmdLineResult s = Eval({"-v", "-l", "-c", "-f", "-n", "-r"});
    EXPECT_TRUE(s.verbose && s.logfile && s.runConfig && s.fallback && s.dontCheckStandby && s.rebuild);
    CmdLineResult l = Eval({"--verbose", "--logfile", "--config", "--fallback", "--nostream", "--rebuild"});
    EXPECT_TRUE(l.verbose && l.logfile && l.runConfig && l.fallback && l.dontCheckStandby && l.rebuild);
    EXPECT_FALSE(l.end);

    CmdLineResult v = Eval({"--source=2", "--mode=3", "--debug=5", "--override=1:0:1:6D66:437:1:C00000:0:0:0:"}, 2);
    EXPECT_EQ(v.activeProfile, 1);
    EXPECT_EQ(v.startMode, 3);
    EXPECT_EQ(v.gstdebug, wxT("5"));
    EXPECT_EQ(v.overrideSRef, wxT("1:0:1:6D66:437:1:C00000:0:0:0:"));
    EXPECT_TRUE(v.dontCheckStandby);
    EXPECT_TRUE(v.boxes.empty());
}

TEST(CommandLine, HelpWinsOverEverything)
{
    for (auto r : {Eval({"-h"}), Eval({"--help"}), Eval({"-v", "-s", "9", "-h", "-m", "2", "-c"})}) {
        EXPECT_TRUE(r.end);
        ASSERT_EQ(r.boxes.size(), 1u);
        EXPECT_EQ(r.boxes[0].text, CommandLineHelp());
        EXPECT_TRUE(r.boxes[0].style & wxICON_INFORMATION);
        EXPECT_FALSE(r.verbose || r.runConfig);
        EXPECT_EQ(r.startMode, 0);
    }
    EXPECT_TRUE(CommandLineHelp().StartsWith(wxT("unterstützte Kommandozeilen-Parameter:\n\n-c, --config\n")));
    EXPECT_TRUE(CommandLineHelp().EndsWith(wxT("-v, --verbose\n\tHinweise aktivieren\n\n")));
    EXPECT_EQ(CommandLineHelp().Find(wxT("nostream")), wxNOT_FOUND);
}

TEST(CommandLine, ParseErrors)
{
    for (auto r : {Eval({"-x"}), Eval({"-s", "abc"}), Eval({"-m"}), Eval({"--unknown"}), Eval({"extra"})}) {
        EXPECT_TRUE(r.end);
        ASSERT_EQ(r.boxes.size(), 1u);
        EXPECT_EQ(r.boxes[0].text, wxT("Ein Kommandozeilen-Parameter ist fehlerhaft!\n\n"
                                       "Die möglichen Parameter können mit -h oder --help angezeigt werden..."));
        EXPECT_TRUE(r.boxes[0].style & wxICON_ERROR);
    }
}

TEST(CommandLine, SourceRange)
{
    const wxString warn0 = wxT("Die angegebene Stream-Quelle #0 ist ungültig!");
    CmdLineResult zero = Eval({"-s", "0"}, 3);
    EXPECT_EQ(zero.activeProfile, 0);
    ASSERT_EQ(zero.boxes.size(), 1u);
    EXPECT_EQ(zero.boxes[0].text, warn0);
    EXPECT_TRUE(zero.boxes[0].style & wxICON_WARNING);

    CmdLineResult beyond = Eval({"-s", "3"}, 2);
    EXPECT_EQ(beyond.activeProfile, 0);
    ASSERT_EQ(beyond.boxes.size(), 1u);
    EXPECT_EQ(beyond.boxes[0].text, wxT("Die angegebene Stream-Quelle #3 ist ungültig!"));

    CmdLineResult negative = Eval({"--source=-4"}, 2);
    EXPECT_EQ(negative.activeProfile, 0);
    ASSERT_EQ(negative.boxes.size(), 1u);

    CmdLineResult second = Eval({"-s", "2"}, 2);
    EXPECT_EQ(second.activeProfile, 1);
    EXPECT_TRUE(second.boxes.empty());
}

TEST(CommandLine, ModeDebugOverrideEdges)
{
    EXPECT_EQ(Eval({"-m", "7"}).startMode, 0);
    EXPECT_EQ(Eval({"-m", "-1"}).startMode, 0);
    EXPECT_EQ(Eval({"-m", "2"}).startMode, 2);
    EXPECT_EQ(Eval({"-d", ""}).gstdebug, wxT("0"));
    EXPECT_EQ(Eval({"--debug="}).gstdebug, wxT("0"));
    EXPECT_EQ(Eval({"-d", "GST_*:4"}).gstdebug, wxT("GST_*:4"));

    CmdLineResult empty = Eval({"-o", ""});
    EXPECT_FALSE(empty.end);
    EXPECT_FALSE(empty.dontCheckStandby);
    EXPECT_TRUE(empty.overrideSRef.empty());
    EXPECT_TRUE(Eval({"-n", "-o", ""}).dontCheckStandby);
}

TEST(CommandLine, WithoutDebugTheUsersGstDebugStays)
{
    setenv("GST_DEBUG", "tsdemux:1", 1);
    gstdebug.clear();
    ASSERT_TRUE(GStreamerInit());
    EXPECT_STREQ(getenv("GST_DEBUG"), "tsdemux:1");
    GStreamerDone();
}

class ApplyCommandLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = MakeTempDir();
        CFG_PATH = dir;
        registry = dir + wxT("gst/");
        wxFileName::Mkdir(registry);
        SetGstRegistryDirOverride(registry);
        cmd_verbose = cmd_logfile = runConfig = compatibility = false;
        DontCheckStandby = true;
        startMode = 9;
        config = ZPCONFIG();
    }
    void TearDown() override
    {
        SetGstRegistryDirOverride(wxString());
        wxFileName::Rmdir(dir, wxPATH_RMDIR_RECURSIVE);
    }
    wxString dir, registry;
};

TEST_F(ApplyCommandLineTest, SetsTheSwitches)
{
    MessageBoxRecorder rec;
    ASSERT_TRUE(ApplyCommandLine(Eval({"-v", "-c", "-f", "-s", "2", "-m", "1", "-d", "", "-o", "1:0:1:1:"}, 2)));
    EXPECT_TRUE(cmd_verbose);
    EXPECT_FALSE(cmd_logfile);
    EXPECT_TRUE(runConfig);
    EXPECT_TRUE(compatibility);
    EXPECT_TRUE(DontCheckStandby);
    EXPECT_EQ(config.profile_active, 1);
    EXPECT_EQ(startMode, 1);
    EXPECT_EQ(gstdebug, wxT("0"));
    EXPECT_EQ(override_sref, wxT("1:0:1:1:"));
    EXPECT_TRUE(rec.boxes().empty());

    // without -n standby checking is switched back on; compatibility from
    // the configuration stays
    ASSERT_TRUE(ApplyCommandLine(Eval({})));
    EXPECT_FALSE(DontCheckStandby);
    EXPECT_TRUE(compatibility);
    EXPECT_EQ(config.profile_active, 0);
}

TEST_F(ApplyCommandLineTest, LogfileTruncatesTheDump)
{
    WriteBytes(dir + wxT("zappora.dbg"), "alter Inhalt\n");
    ASSERT_TRUE(ApplyCommandLine(Eval({"-l"})));
    EXPECT_TRUE(cmd_logfile);
    EXPECT_TRUE(wxFileName::FileExists(dir + wxT("zappora.dbg")));
    EXPECT_EQ(ReadBytes(dir + wxT("zappora.dbg")), "");

    wxRemoveFile(dir + wxT("zappora.dbg"));
    ASSERT_TRUE(ApplyCommandLine(Eval({"--logfile"})));
    EXPECT_TRUE(wxFileName::FileExists(dir + wxT("zappora.dbg")));
}

TEST_F(ApplyCommandLineTest, RegistryRemoval)
{
    WriteBytes(registry + wxT("registry.x86_64.bin"), "x");
    WriteBytes(registry + wxT("registry.i686.bin"), "y");
    WriteBytes(registry + wxT("other.bin"), "z");
    {
        MessageBoxRecorder rec;
        ASSERT_TRUE(ApplyCommandLine(Eval({"-r"})));
        ASSERT_EQ(rec.boxes().size(), 1u);
        EXPECT_EQ(rec.boxes()[0].text, wxT("Die GStreamer-Registry wurde gelöscht und wird nun neu erstellt."));
        EXPECT_TRUE(rec.boxes()[0].style & wxICON_INFORMATION);
    }
    EXPECT_FALSE(wxFileName::FileExists(registry + wxT("registry.x86_64.bin")));
    EXPECT_FALSE(wxFileName::FileExists(registry + wxT("registry.i686.bin")));
    EXPECT_TRUE(wxFileName::FileExists(registry + wxT("other.bin")));
    {
        // nothing left to remove; the warning comes before the -s warning
        MessageBoxRecorder rec;
        ASSERT_TRUE(ApplyCommandLine(Eval({"-s", "5", "-r"})));
        ASSERT_EQ(rec.boxes().size(), 2u);
        EXPECT_EQ(rec.boxes()[0].text, wxT("Die GStreamer-Registry konnte nicht gelöscht werden!"));
        EXPECT_TRUE(rec.boxes()[0].style & wxICON_WARNING);
        EXPECT_EQ(rec.boxes()[1].text, wxT("Die angegebene Stream-Quelle #5 ist ungültig!"));
    }
    EXPECT_FALSE(RemoveGstRegistry(dir + wxT("does-not-exist")));
}
