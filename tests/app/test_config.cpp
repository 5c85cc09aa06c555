#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <set>
#include <unistd.h>

#include <wx/dir.h>
#include <wx/utils.h>

#include "app/config.h"
#include "app/configfile.h"
#include "app/globals.h"
#include "apptest.h"

namespace {

ZPCONFIG Unusual()
{
    ZPCONFIG c;
    c.language = wxT("EN");
    c.audiolanguage = wxT("FR");
    c.timerdir = wxT("/media/hdd/movie/ä ö/");
    c.timertag = wxT("Tag mit Leerzeichen");
    c.recdir = wxT("  /home/u/Auf\\nahmen ");
    c.excludedir = wxT("/hdd/movie/trash");
    c.videosink = wxT("glimagesink");
    c.epgsimilar = 0;
    c.tvproviders = 1;
    c.raproviders = 1;
    c.volume = 77;
    c.deinterlacer = 3;
    c.deinterlacermethod = 2;
    c.tvcontrol = 0;
    c.expertmode = 1;
    c.tooltips = 0;
    c.onlineupdate = 1;
    c.mainwin_x = 11; c.mainwin_y = 22; c.mainwin_w = 800; c.mainwin_h = 600;
    c.videowin_x = 33; c.videowin_y = 44; c.videowin_w = 640; c.videowin_h = 360;
    c.lband = -3.5; c.mband = 1.25; c.hband = 12;
    c.brightness = -0.25; c.contrast = 1.5; c.color = 0.75;
    c.rctype = 1; c.rcinterval = 5; c.rcmode = 2; c.rcquality = 3; c.rcresolution = 1;
    c.sortmode = 2;
    c.skiptime = 60;
    c.rezap = 1;
    c.streambuffer = 90;
    c.streambuffertime = 5;
    c.srcport = 8181;
    c.pipposition = 4;
    c.pipsize = 40;
    c.pipoffset = 10;
    c.pipalpha = 0.55;
    for (int i = 0; i < 3; i++) {
        ZPPROFILE& p = c.profile[i];
        p.name = wxString::Format(wxT("Box %d"), i + 1);
        p.host = wxString::Format(wxT("127.0.0.%d"), i + 2);
        p.user = wxT("root");
        p.pass = i == 1 ? wxString() : wxString(wxT("pa$s \"wört\"=;#"));
        p.wport = 8880 + i;
        p.sport = 8001 + i;
        p.https = i == 2;
    }
    c.proxy.host = wxT("proxy.local");
    c.proxy.user = wxT("pu");
    c.proxy.pass = wxT("pp");
    c.proxy.port = 3128;
    c.proxymode = true;
    return c;
}

class ConfigFile : public ::testing::Test {
protected:
    void SetUp() override { dir = MakeTempDir(); file = dir + wxT("zappora.cfg"); }
    void TearDown() override { wxFileName::Rmdir(dir, wxPATH_RMDIR_RECURSIVE); }
    void Write(const char* text) { WriteBytes(file, text); }
    wxString dir, file;
};

}  // namespace

TEST_F(ConfigFile, EveryWrittenKeyRoundTrips)
{
    ASSERT_TRUE(WriteConfigFile(file, Unusual()));
    const std::string first = ReadBytes(file);
    // Every value differs from its default, so a key the reader drops
    // comes back different on the second save.
    ZPCONFIG out;
    bool xim = true;
    EXPECT_EQ(ReadConfigFile(file, out, &xim), 3);
    EXPECT_FALSE(xim);
    ASSERT_TRUE(WriteConfigFile(file, out));
    EXPECT_EQ(ReadBytes(file), first);
    // and none is left out of the file
    for (const char* line : {"Language=EN", "TVProviders=1", "RAProviders=1", "Volume=77",
                             "Deinterlacer=3", "TVControl=0", "ExpertMode=1", "Tooltips=0",
                             "OnlineUpdate=1", "RecDir=", "ExcludeDir=/hdd/movie/trash", "SortMode=2",
                             "SkipTime=60", "Rezap=1", "EPGSimilar=0", "StreamBuffer=90", "Position=4",
                             "Size=40", "Offset=10", "Alpha=0.55", "Dir=", "Tag=Tag mit Leerzeichen",
                             "LBand=-3.5", "MBand=1.25", "HBand=12", "Brightness=-0.25", "Contrast=1.5",
                             "Color=0.75", "RCType=1", "Intervall=5", "Mode=2", "Quality=3",
                             "Resolution=1", "XPos=11", "YPos=22", "XPos=33", "YPos=44", "Width=640",
                             "Height=360", "Port=8181", "Host=proxy.local", "Port=3128", "User=pu",
                             "Pass=pp", "Name=Box 3", "Host=127.0.0.4", "WPort=8882", "SPort=8003",
                             "Https=1"})
        EXPECT_NE(first.find(std::string("\n") + line), std::string::npos) << line;
    EXPECT_EQ(out.profile[0].pass, wxT("pa$s \"wört\"=;#"));
    EXPECT_TRUE(out.proxyvalid);
    EXPECT_TRUE(out.proxymode);
}

TEST_F(ConfigFile, ReadButNeverWrittenKeys)
{
    // a fresh file does not get them, whatever memory holds
    ASSERT_TRUE(WriteConfigFile(file, Unusual()));
    const wxString text = ReadText(file);
    for (const char* key : {"AudioLanguage", "DeinterlacerMethod", "StreamBufferTime", "VideoSink", "Width=800",
                            "Height=600"})
        EXPECT_EQ(text.Find(wxString(key)), wxNOT_FOUND) << key;

    // values set by editing the file survive a save of other values
    Write("[GENERAL]\nAudioLanguage=EN\nDeinterlacerMethod=1\nStreamBufferTime=9\nVideoSink=ximagesink\n"
          "[MAINWINDOW]\nWidth=1000\nHeight=700\n");
    ZPCONFIG c;
    bool xim = false;
    ReadConfigFile(file, c, &xim);
    EXPECT_TRUE(xim);
    EXPECT_EQ(c.audiolanguage, wxT("EN"));
    EXPECT_EQ(c.deinterlacermethod, 1);
    EXPECT_EQ(c.streambuffertime, 9);
    EXPECT_EQ(c.mainwin_w, 1000);
    c.audiolanguage = wxT("DE");
    c.deinterlacermethod = 4;
    c.streambuffertime = 2;
    c.videosink = wxT("xvimagesink");
    c.mainwin_w = 1;
    c.mainwin_h = 2;
    ASSERT_TRUE(WriteConfigFile(file, c));
    ZPCONFIG again;
    ReadConfigFile(file, again, &xim);
    EXPECT_EQ(again.audiolanguage, wxT("EN"));
    EXPECT_EQ(again.deinterlacermethod, 1);
    EXPECT_EQ(again.streambuffertime, 9);
    EXPECT_EQ(again.videosink, wxT("ximagesink"));
    EXPECT_EQ(again.mainwin_w, 1000);
    EXPECT_EQ(again.mainwin_h, 700);
}

TEST_F(ConfigFile, CommentsAndUnknownEntriesSurviveASave)
{
    Write("# von Hand\n[GENERAL]\nVolume=10\nZukunft=ja\n[EIGENES]\nA=1\n");
    ZPCONFIG c;
    ReadConfigFile(file, c);
    c.volume = 20;
    ASSERT_TRUE(WriteConfigFile(file, c));
    const wxString text = ReadText(file);
    EXPECT_NE(text.Find(wxT("# von Hand")), wxNOT_FOUND);
    EXPECT_NE(text.Find(wxT("Zukunft=ja")), wxNOT_FOUND);
    EXPECT_NE(text.Find(wxT("[EIGENES]\nA=1")), wxNOT_FOUND);
    EXPECT_NE(text.Find(wxT("Volume=20")), wxNOT_FOUND);
    EXPECT_EQ(text.Find(wxT("Volume=10")), wxNOT_FOUND);
}

TEST_F(ConfigFile, FileLayoutPortsAndSectionOrder)
{
    ZPCONFIG c = Unusual();
    c.srcport = 0;
    c.proxy.port = 0;
    ASSERT_TRUE(WriteConfigFile(file, c));
    const wxString text = ReadText(file);
    // zero ports are empty values, and so is Https of a nameless slot
    EXPECT_NE(text.Find(wxT("[SRCSERVER]\nPort=0\n")), wxNOT_FOUND) << text;
    EXPECT_NE(text.Find(wxT("[PROXY]\nHost=proxy.local\nPort=\n")), wxNOT_FOUND) << text;
    EXPECT_NE(text.Find(wxT("[PROFILE4]\nName=\nHost=\nUser=\nPass=\nWPort=\nSPort=\nHttps=\n")), wxNOT_FOUND);
    EXPECT_NE(text.Find(wxT("Https=1")), wxNOT_FOUND);
    EXPECT_NE(text.Find(wxT("Mode=1")), wxNOT_FOUND);

    const char* order[] = {"[GENERAL]", "[PIP]", "[TIMER]", "[AVPARAMETER]", "[REMOTECONTROL]", "[MAINWINDOW]",
                           "[VIDEOWINDOW]", "[SRCSERVER]", "[PROXY]", "[PROFILE1]", "[PROFILE2]", "[PROFILE10]"};
    int last = -1;
    for (const char* section : order) {
        const int at = text.Find(wxString(section));
        EXPECT_GT(at, last) << section;
        last = at;
    }
    EXPECT_LT(text.Find(wxT("Language=")), text.Find(wxT("TVProviders=")));
    EXPECT_LT(text.Find(wxT("Rezap=")), text.Find(wxT("EPGSimilar=")));

    ZPCONFIG back;
    ReadConfigFile(file, back);
    EXPECT_EQ(back.srcport, 0);
    EXPECT_EQ(back.proxy.port, 0);
    EXPECT_FALSE(back.proxyvalid);

    // an empty port is 0, a missing one takes its default
    Write("[SRCSERVER]\nPort=\n");
    ReadConfigFile(file, back);
    EXPECT_EQ(back.srcport, 0);
    Write("[SRCSERVER]\n");
    ReadConfigFile(file, back);
    EXPECT_EQ(back.srcport, 8080);
}

TEST_F(ConfigFile, DefaultsForMissingAndUnparsableValues)
{
    Write("[GENERAL]\nVolume=laut\nSkipTime=\n[PIP]\nAlpha=x\n[PROFILE1]\nName=A\nHost=127.0.0.2\nUser=u\n"
          "WPort=80\nSPort=8001\n");
    ZPCONFIG c;
    EXPECT_EQ(ReadConfigFile(file, c), 1);
    EXPECT_EQ(c.language, wxT("DE"));
    EXPECT_EQ(c.audiolanguage, wxT("DE"));
    EXPECT_EQ(c.timerdir, wxT("/hdd/movie/"));
    EXPECT_EQ(c.timertag, wxT("Zappora"));
    EXPECT_EQ(c.videosink, wxT("xvimagesink"));
    EXPECT_EQ(c.volume, 50);
    EXPECT_EQ(c.skiptime, 15);
    EXPECT_EQ(c.epgsimilar, 1);
    EXPECT_EQ(c.tvcontrol, 1);
    EXPECT_EQ(c.tooltips, 1);
    EXPECT_EQ(c.deinterlacermethod, 4);
    EXPECT_EQ(c.streambuffer, 66);
    EXPECT_EQ(c.streambuffertime, 2);
    EXPECT_EQ(c.srcport, 8080);
    EXPECT_EQ(c.pipposition, 2);
    EXPECT_EQ(c.pipsize, 33);
    EXPECT_EQ(c.pipoffset, 25);
    EXPECT_DOUBLE_EQ(c.pipalpha, 0.8);
    EXPECT_DOUBLE_EQ(c.contrast, 1.0);
    EXPECT_DOUBLE_EQ(c.color, 1.0);
    EXPECT_DOUBLE_EQ(c.brightness, 0.0);
    EXPECT_EQ(c.mainwin_x, -1);
    EXPECT_EQ(c.mainwin_h, -1);
    EXPECT_EQ(c.videowin_w, 512);
    EXPECT_EQ(c.videowin_h, 288);
    EXPECT_EQ(c.profile[0].pass, wxT(""));
}

TEST_F(ConfigFile, Clamps)
{
    Write("[GENERAL]\nVolume=101\nStreamBuffer=-1\n[PIP]\nPosition=6\nSize=9\nOffset=150\nAlpha=0.05\n"
          "[MAINWINDOW]\nXPos=-32000\nYPos=300\n");
    ZPCONFIG c;
    ReadConfigFile(file, c);
    EXPECT_EQ(c.volume, 50);
    EXPECT_EQ(c.streambuffer, 66);
    EXPECT_EQ(c.pipposition, 2);
    EXPECT_EQ(c.pipsize, 33);
    EXPECT_EQ(c.pipoffset, 25);
    EXPECT_DOUBLE_EQ(c.pipalpha, 0.8);
    EXPECT_EQ(c.mainwin_x, 0);
    EXPECT_EQ(c.mainwin_y, 0);

    Write("[GENERAL]\nVolume=100\nStreamBuffer=0\n[PIP]\nPosition=5\nSize=50\nOffset=0\nAlpha=1.0\n"
          "[MAINWINDOW]\nXPos=-5\nYPos=300\n");
    ReadConfigFile(file, c);
    EXPECT_EQ(c.volume, 100);
    EXPECT_EQ(c.streambuffer, 0);
    EXPECT_EQ(c.pipposition, 5);
    EXPECT_EQ(c.pipsize, 50);
    EXPECT_EQ(c.pipoffset, 0);
    EXPECT_DOUBLE_EQ(c.pipalpha, 1.0);
    EXPECT_EQ(c.mainwin_x, -5);
    EXPECT_EQ(c.mainwin_y, 300);

    // a file written under a German locale
    Write("[PIP]\nAlpha=0,5\n");
    ReadConfigFile(file, c);
    EXPECT_DOUBLE_EQ(c.pipalpha, 0.5);
}

TEST_F(ConfigFile, ProfilePackingAndValidity)
{
    Write("[PROFILE1]\nName=Kaputt\nHost=127.0.0.2\nUser=root\nPass=x\nWPort=\nSPort=8001\n"
          "[PROFILE2]\nName=Gut\nHost=127.0.0.3\nUser=root\nPass=\nWPort=80\nSPort=8001\nHttps=1\n");
    ZPCONFIG c;
    EXPECT_EQ(ReadConfigFile(file, c), 1);
    EXPECT_EQ(c.profiles, 1);
    EXPECT_EQ(c.profile[0].name, wxT("Gut"));
    EXPECT_EQ(c.profile[0].host, wxT("127.0.0.3"));
    EXPECT_EQ(c.profile[0].https, 1);
    EXPECT_TRUE(c.profile[1].name.empty());

    Write("[PROFILE1]\nName=A\nHost=127.0.0.2\nUser=root\nWPort=80\nSPort=8001\n"
          "[PROFILE2]\nName=\nHost=127.0.0.3\nUser=root\nWPort=80\nSPort=8001\n"
          "[PROFILE3]\nName=C\nHost=127.0.0.4\nUser=\nWPort=80\nSPort=8001\n"
          "[PROFILE4]\nName=D\nHost=\nUser=root\nWPort=80\nSPort=8001\n"
          "[PROFILE5]\nName=E\nHost=127.0.0.5\nUser=root\nWPort=80\nSPort=0\n"
          "[PROFILE10]\nName=J\nHost=127.0.0.6\nUser=root\nWPort=80\nSPort=8001\n");
    ZPCONFIG d;
    EXPECT_EQ(ReadConfigFile(file, d), 2);
    EXPECT_EQ(d.profile[0].name, wxT("A"));
    EXPECT_EQ(d.profile[1].name, wxT("J"));
    for (int i = 2; i < 10; i++)
        EXPECT_TRUE(d.profile[i].name.empty()) << i;
}

TEST_F(ConfigFile, FactoryPlaceholderForcesZero)
{
    Write("[PROFILE1]\nName=Boxhaus\nHost=127.0.0.1\nUser=root\nPass=zaptower\nWPort=80\nSPort=8001\n"
          "[PROFILE2]\nName=Echt\nHost=127.0.0.2\nUser=root\nWPort=80\nSPort=8001\n");
    ZPCONFIG c;
    EXPECT_EQ(ReadConfigFile(file, c), 0);
    EXPECT_EQ(c.profiles, 0);
    // the profiles are still there for the settings dialog
    EXPECT_EQ(c.profile[1].name, wxT("Echt"));

    // only slot 1 counts: a placeholder host further down is a normal receiver
    Write("[PROFILE1]\nName=Echt\nHost=127.0.0.2\nUser=root\nWPort=80\nSPort=8001\n"
          "[PROFILE2]\nName=Boxhaus\nHost=127.0.0.1\nUser=root\nWPort=80\nSPort=8001\n");
    EXPECT_EQ(ReadConfigFile(file, c), 2);
}

TEST_F(ConfigFile, ProxyNeedsAllFourParts)
{
    Write("[PROXY]\nHost=p\nPort=3128\nUser=u\nPass=\nMode=1\n");
    ZPCONFIG c;
    ReadConfigFile(file, c);
    EXPECT_FALSE(c.proxyvalid);
    EXPECT_FALSE(c.proxymode);

    Write("[PROXY]\nHost=p\nPort=\nUser=u\nPass=w\nMode=1\n");
    ReadConfigFile(file, c);
    EXPECT_FALSE(c.proxyvalid);
    EXPECT_FALSE(c.proxymode);

    Write("[PROXY]\nHost=p\nPort=3128\nUser=u\nPass=w\nMode=0\n");
    ReadConfigFile(file, c);
    EXPECT_TRUE(c.proxyvalid);
    EXPECT_FALSE(c.proxymode);

    Write("[PROXY]\nHost=p\nPort=3128\nUser=u\nPass=w\nMode=1\n");
    ReadConfigFile(file, c);
    EXPECT_TRUE(c.proxyvalid);
    EXPECT_TRUE(c.proxymode);
}

TEST_F(ConfigFile, FailedWriteKeepsThePreviousFile)
{
    ASSERT_TRUE(WriteConfigFile(file, Unusual()));
    const std::string before = ReadBytes(file);
    ASSERT_GT(before.size(), 1000u);

    // the disk "fills up" after 100 bytes of the new file
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ZPCONFIG changed = Unusual();
    changed.profile[0].name = wxT("Neu");
    const bool ok = WriteConfigFile(file, changed);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_DFL);

    EXPECT_FALSE(ok);
    EXPECT_EQ(ReadBytes(file), before);
    wxArrayString files;
    wxDir::GetAllFiles(dir, &files, wxEmptyString, wxDIR_FILES | wxDIR_HIDDEN);
    EXPECT_EQ(files.size(), 1u) << "temporary file left behind";
}

TEST_F(ConfigFile, ProcessDyingMidWriteKeepsThePreviousFile)
{
    ASSERT_TRUE(WriteConfigFile(file, Unusual()));
    const std::string before = ReadBytes(file);

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // killed by SIGXFSZ in the middle of writing
        struct rlimit small;
        getrlimit(RLIMIT_FSIZE, &small);
        small.rlim_cur = 200;
        setrlimit(RLIMIT_FSIZE, &small);
        ZPCONFIG changed = Unusual();
        changed.volume = 1;
        WriteConfigFile(file, changed);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    EXPECT_EQ(ReadBytes(file), before);
    ZPCONFIG c;
    EXPECT_EQ(ReadConfigFile(file, c), 3);
    EXPECT_EQ(c.volume, 77);
}

static int Mode(const wxString& path)
{
    struct stat st;
    return stat(path.fn_str(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

TEST_F(ConfigFile, SaveKeepsPermissionsAndLinksOfTheReplacedFile)
{
    ASSERT_TRUE(WriteConfigFile(file, Unusual()));
    EXPECT_EQ(Mode(file), 0600);
    chmod(file.fn_str(), 0640);
    ASSERT_TRUE(WriteConfigFile(file, Unusual()));
    EXPECT_EQ(Mode(file), 0640);

    // A file kept elsewhere and linked in (relative link, itself linked) is written through.
    wxFileName::Mkdir(dir + wxT("dotfiles"));
    ASSERT_EQ(rename(file.fn_str(), (dir + wxT("dotfiles/zp.cfg")).fn_str()), 0);
    ASSERT_EQ(symlink("zp.cfg", (dir + wxT("dotfiles/current")).fn_str()), 0);
    ASSERT_EQ(symlink("dotfiles/current", file.fn_str()), 0);
    ZPCONFIG changed = Unusual();
    changed.volume = 5;
    ASSERT_TRUE(WriteConfigFile(file, changed));
    struct stat st;
    ASSERT_EQ(lstat(file.fn_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(lstat((dir + wxT("dotfiles/current")).fn_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ZPCONFIG c;
    EXPECT_EQ(ReadConfigFile(dir + wxT("dotfiles/zp.cfg"), c), 3);
    EXPECT_EQ(c.volume, 5);
    EXPECT_EQ(Mode(dir + wxT("dotfiles/zp.cfg")), 0640);
    wxArrayString files;
    wxDir::GetAllFiles(dir, &files, wxEmptyString, wxDIR_FILES | wxDIR_HIDDEN | wxDIR_DIRS);
    EXPECT_EQ(files.size(), 3u) << "temporary file left behind";
}

// GetConfig/SetConfig work in the test's own HOME.
TEST(ConfigGlobal, FirstStartWritesFactoryDefaults)
{
    CFG_PATH.clear();
    config = ZPCONFIG();
    compatibility = false;
    EXPECT_EQ(GetConfig(), 0);
    EXPECT_TRUE(CFG_PATH.EndsWith(wxT("/.zappora/")));
    EXPECT_TRUE(BIN_PATH.EndsWith(wxT("/")));
    ASSERT_TRUE(wxFileName::FileExists(CFG_PATH + wxT("zappora.cfg")));
    EXPECT_NE(ReadBytes(CFG_PATH + wxT("zappora.cfg")).find("\nTVControl=1\n"), std::string::npos);
    EXPECT_EQ(config.profile[0].host, wxT("127.0.0.1"));
    EXPECT_EQ(config.profile[0].name, wxT("Boxhaus"));
    EXPECT_EQ(config.srcport, 8080);
    EXPECT_EQ(config.mainwin_w, 0);
    EXPECT_DOUBLE_EQ(config.pipalpha, 0.8);
    EXPECT_FALSE(compatibility);

    // the default file keeps forcing the settings dialog
    config = ZPCONFIG();
    EXPECT_EQ(GetConfig(), 0);
    EXPECT_EQ(config.profile[0].user, wxT("root"));
    EXPECT_EQ(config.profile[0].sport, 8001);
    EXPECT_EQ(config.volume, 50);

    // a real receiver and the compatible sink
    config.profile[0].host = wxT("127.0.0.2");
    config.volume = 12;
    ASSERT_TRUE(SetConfig(false));
    // (a repeated section, as hand editing leaves it)
    WriteBytes(CFG_PATH + wxT("zappora.cfg"),
               ReadBytes(CFG_PATH + wxT("zappora.cfg")) + "[GENERAL]\nVideoSink=ximagesink\n");
    config = ZPCONFIG();
    EXPECT_EQ(GetConfig(), 1);
    EXPECT_EQ(config.volume, 12);
    EXPECT_TRUE(compatibility);
    config.volume = 13;
    ASSERT_TRUE(SetConfig(false));
    config = ZPCONFIG();
    EXPECT_EQ(GetConfig(), 1);
    EXPECT_EQ(config.volume, 13);
    EXPECT_EQ(config.videosink, wxT("ximagesink"));

    // reset brings the factory values back but leaves the others
    config.rctype = 3;
    config.volume = 99;
    ASSERT_TRUE(SetConfig(true));
    EXPECT_EQ(config.volume, 50);
    EXPECT_EQ(config.rctype, 3);
    EXPECT_EQ(config.profile[0].host, wxT("127.0.0.1"));
}

TEST(ConfigGlobal, SeparateValue)
{
    EXPECT_EQ(SeparateValue(wxT("1234567")), wxT("1.234.567"));
    EXPECT_EQ(SeparateValue(wxT("1000")), wxT("1.000"));
    EXPECT_EQ(SeparateValue(wxT("100")), wxT("100"));
    EXPECT_EQ(SeparateValue(wxT("123456")), wxT("123.456"));
    EXPECT_EQ(SeparateValue(wxT("")), wxT(""));
    EXPECT_EQ(SeparateValue(wxT("-1234")), wxT("-1.234"));
}

// A build tree keeps the data beside the executable, an installed program in
// ../share/zappora; with neither, the executable's directory stays.
TEST(ConfigGlobal, ProgramDataDir)
{
    auto only = [](std::set<wxString> dirs) {
        return [dirs](const wxString& d) { return dirs.count(d) > 0; };
    };
    EXPECT_EQ(ProgramDataDir(wxT("/b/"), only({wxT("/b/pic"), wxT("/b/../share/zappora/")})), wxT("/b/"));
    EXPECT_EQ(ProgramDataDir(wxT("/usr/bin/"), only({wxT("/usr/bin/../share/zappora/")})), wxT("/usr/share/zappora/"));
    EXPECT_EQ(ProgramDataDir(wxT("/opt/z/bin/"), only({})), wxT("/opt/z/bin/"));
}
