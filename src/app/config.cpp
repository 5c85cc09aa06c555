#include "app/config.h"
#include "app/configfile.h"
#include "app/globals.h"

#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/stdpaths.h>
#include <wx/mstream.h>
#include <wx/wfstream.h>
#include <wx/utils.h>

#include <map>
#include <memory>
#include <vector>
#include <wx/tokenzr.h>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <iomanip>
#include <locale>
#include <sstream>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ZPCONFIG config;

namespace {

const wxString kFileName = wxT("zappora.cfg");
const wxString kPlaceholderHost = wxT("127.0.0.1");

wxString ReadString(wxFileConfig& fc, const wxString& key, const wxString& def)
{
    wxString value;
    fc.Read(key, &value, def);
    return value;
}

// Numbers are parsed here rather than by wxConfig, which reports every
// unparsable entry as an error (a log box before any window exists).
long ReadLong(wxFileConfig& fc, const wxString& key, long def)
{
    wxString text;
    if (!fc.Read(key, &text))
        return def;
    text.Trim(true).Trim(false);
    long value;
    if (text.empty() || !text.ToLong(&value, 10))
        return def;
    return value;
}

int ReadInt(wxFileConfig& fc, const wxString& key, int def)
{
    long value = ReadLong(fc, key, def);
    if (value < INT_MIN || value > INT_MAX)
        return def;
    return int(value);
}

// A port stored as an empty value is 0.
long ReadPort(wxFileConfig& fc, const wxString& key, long def)
{
    wxString text;
    if (fc.Read(key, &text) && text.Trim(true).Trim(false).empty())
        return 0;
    return ReadLong(fc, key, def);
}

double ReadDouble(wxFileConfig& fc, const wxString& key, double def)
{
    wxString text;
    if (!fc.Read(key, &text))
        return def;
    text.Trim(true).Trim(false);
    double value;
    if (text.empty())
        return def;
    if (text.ToCDouble(&value))
        return value;
    // files written under a German locale carry a decimal comma
    text.Replace(wxT(","), wxT("."));
    if (text.ToCDouble(&value))
        return value;
    return def;
}

wxString NumberText(long value)
{
    return wxString::Format(wxT("%ld"), value);
}

// Ports of 0 are stored as an empty value.
wxString PortText(long value)
{
    return value == 0 ? wxString() : NumberText(value);
}

// Locale-independent, short for the usual values (0.8, 1, -0.25).
wxString DoubleText(double value)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << std::setprecision(15) << value;
    return wxString::FromUTF8(out.str().c_str());
}

bool ProfileValid(const ZPPROFILE& p)
{
    return !p.name.empty() && !p.host.empty() && !p.user.empty() && p.wport != 0 && p.sport != 0;
}

// A hand-edited file may repeat a [SECTION], which the toolkit's parser
// asserts on: every section's lines are gathered under its first header.
std::string MergeRepeatedSections(const wxString& text)
{
    std::vector<wxString> order(1);   // "" holds the lines before any header
    std::map<wxString, wxString> lines;
    wxString section;
    wxStringTokenizer tok(text, wxT("\n"), wxTOKEN_RET_EMPTY_ALL);
    while (tok.HasMoreTokens()) {
        wxString line = tok.GetNextToken();
        if (line.empty() && !tok.HasMoreTokens())
            break;   // after the last line break
        wxString head = wxString(line).Trim().Trim(false);
        if (head.StartsWith(wxT("[")) && head.Contains(wxT("]"))) {
            section = head.Mid(1).BeforeFirst(']');
            if (lines.count(section))
                continue;
            order.push_back(section);
        }
        lines[section] += line + wxT("\n");
    }
    wxString merged;
    for (const wxString& s : order)
        merged += lines[s];
    return std::string(merged.utf8_str());
}

// The file content as a wxFileConfig held in memory only: it never writes
// anything by itself, saving is done explicitly.
std::unique_ptr<wxFileConfig> OpenInMemory(const wxString& file)
{
    std::unique_ptr<wxFileConfig> fc;
    if (wxFileName::FileExists(file)) {
        wxFileInputStream in(file);
        if (in.IsOk()) {
            wxMemoryOutputStream raw;
            in.Read(raw);
            const size_t size = raw.GetSize();
            std::string bytes(size, '\0');
            if (size > 0)
                raw.CopyTo(&bytes[0], size);
            const std::string text = MergeRepeatedSections(wxString(bytes.data(), wxConvAuto(), size));
            wxMemoryInputStream merged(text.data(), text.size());
            fc.reset(new wxFileConfig(merged, wxConvUTF8));
        }
    }
    if (!fc) {
        wxMemoryInputStream empty("", 0);
        fc.reset(new wxFileConfig(empty, wxConvAuto()));
    }
    // "$" in a password must stay a "$"
    fc->SetExpandEnvVars(false);
    return fc;
}

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

void FillFromConfig(wxFileConfig& fc, const ZPCONFIG& c)
{
    fc.Write(wxT("GENERAL/Language"), c.language);
    fc.Write(wxT("GENERAL/TVProviders"), NumberText(c.tvproviders));
    fc.Write(wxT("GENERAL/RAProviders"), NumberText(c.raproviders));
    fc.Write(wxT("GENERAL/Volume"), NumberText(c.volume));
    fc.Write(wxT("GENERAL/Deinterlacer"), NumberText(c.deinterlacer));
    fc.Write(wxT("GENERAL/TVControl"), NumberText(c.tvcontrol));
    fc.Write(wxT("GENERAL/ExpertMode"), NumberText(c.expertmode));
    fc.Write(wxT("GENERAL/Tooltips"), NumberText(c.tooltips));
    fc.Write(wxT("GENERAL/OnlineUpdate"), NumberText(c.onlineupdate));
    fc.Write(wxT("GENERAL/RecDir"), c.recdir);
    fc.Write(wxT("GENERAL/ExcludeDir"), c.excludedir);
    fc.Write(wxT("GENERAL/SortMode"), NumberText(c.sortmode));
    fc.Write(wxT("GENERAL/SkipTime"), NumberText(c.skiptime));
    fc.Write(wxT("GENERAL/Rezap"), NumberText(c.rezap));
    fc.Write(wxT("GENERAL/EPGSimilar"), NumberText(c.epgsimilar));
    fc.Write(wxT("GENERAL/StreamBuffer"), NumberText(c.streambuffer));
    fc.Write(wxT("PIP/Position"), NumberText(c.pipposition));
    fc.Write(wxT("PIP/Size"), NumberText(c.pipsize));
    fc.Write(wxT("PIP/Offset"), NumberText(c.pipoffset));
    fc.Write(wxT("PIP/Alpha"), DoubleText(c.pipalpha));
    fc.Write(wxT("TIMER/Dir"), c.timerdir);
    fc.Write(wxT("TIMER/Tag"), c.timertag);
    fc.Write(wxT("AVPARAMETER/LBand"), DoubleText(c.lband));
    fc.Write(wxT("AVPARAMETER/MBand"), DoubleText(c.mband));
    fc.Write(wxT("AVPARAMETER/HBand"), DoubleText(c.hband));
    fc.Write(wxT("AVPARAMETER/Brightness"), DoubleText(c.brightness));
    fc.Write(wxT("AVPARAMETER/Contrast"), DoubleText(c.contrast));
    fc.Write(wxT("AVPARAMETER/Color"), DoubleText(c.color));
    fc.Write(wxT("REMOTECONTROL/RCType"), NumberText(c.rctype));
    fc.Write(wxT("REMOTECONTROL/Intervall"), NumberText(c.rcinterval));
    fc.Write(wxT("REMOTECONTROL/Mode"), NumberText(c.rcmode));
    fc.Write(wxT("REMOTECONTROL/Quality"), NumberText(c.rcquality));
    fc.Write(wxT("REMOTECONTROL/Resolution"), NumberText(c.rcresolution));
    fc.Write(wxT("MAINWINDOW/XPos"), NumberText(c.mainwin_x));
    fc.Write(wxT("MAINWINDOW/YPos"), NumberText(c.mainwin_y));
    fc.Write(wxT("VIDEOWINDOW/XPos"), NumberText(c.videowin_x));
    fc.Write(wxT("VIDEOWINDOW/YPos"), NumberText(c.videowin_y));
    fc.Write(wxT("VIDEOWINDOW/Width"), NumberText(c.videowin_w));
    fc.Write(wxT("VIDEOWINDOW/Height"), NumberText(c.videowin_h));
    fc.Write(wxT("SRCSERVER/Port"), NumberText(c.srcport));
    fc.Write(wxT("PROXY/Host"), c.proxy.host);
    fc.Write(wxT("PROXY/Port"), PortText(c.proxy.port));
    fc.Write(wxT("PROXY/User"), c.proxy.user);
    fc.Write(wxT("PROXY/Pass"), c.proxy.pass);
    fc.Write(wxT("PROXY/Mode"), NumberText(c.proxymode ? 1 : 0));
    for (int n = 0; n < 10; n++) {
        const ZPPROFILE& p = c.profile[n];
        const wxString group = wxString::Format(wxT("PROFILE%d/"), n + 1);
        fc.Write(group + wxT("Name"), p.name);
        fc.Write(group + wxT("Host"), p.host);
        fc.Write(group + wxT("User"), p.user);
        fc.Write(group + wxT("Pass"), p.pass);
        fc.Write(group + wxT("WPort"), PortText(p.wport));
        fc.Write(group + wxT("SPort"), PortText(p.sport));
        fc.Write(group + wxT("Https"), p.name.empty() ? wxString() : NumberText(p.https));
    }
}

void SetPaths()
{
    wxFileName exe(wxStandardPaths::Get().GetExecutablePath());
    BIN_PATH = ProgramDataDir(exe.GetPath(wxPATH_GET_VOLUME | wxPATH_GET_SEPARATOR),
                              [](const wxString& dir) { return wxFileName::DirExists(dir); });
    wxFileName cfg = wxFileName::DirName(wxGetHomeDir());
    cfg.AppendDir(wxT(".zappora"));
    CFG_PATH = cfg.GetPath(wxPATH_GET_VOLUME | wxPATH_GET_SEPARATOR);
}

}  // namespace

void ResetConfig(ZPCONFIG& c)
{
    c.language = wxT("DE");
    c.audiolanguage = wxT("DE");
    c.tvproviders = 0;
    c.raproviders = 0;
    c.volume = 50;
    c.deinterlacer = 0;
    c.deinterlacermethod = 4;
    c.expertmode = 0;
    c.tvcontrol = 1;
    c.tooltips = 1;
    c.onlineupdate = 0;
    c.skiptime = 15;
    c.sortmode = 0;
    c.recdir.clear();
    c.excludedir.clear();
    c.epgsimilar = 1;
    c.streambuffer = 66;
    c.streambuffertime = 2;
    c.videosink = wxT("xvimagesink");
    c.pipposition = 2;
    c.pipsize = 33;
    c.pipoffset = 25;
    c.timerdir = wxT("/hdd/movie/");
    c.timertag = wxT("Zappora");
    c.lband = c.mband = c.hband = 0.0;
    c.brightness = 0.0;
    c.contrast = 1.0;
    c.color = 1.0;
    c.rcinterval = c.rcmode = c.rcquality = c.rcresolution = 0;
    c.videowin_x = 0;
    c.videowin_y = 0;
    c.videowin_w = 512;
    c.videowin_h = 288;
    c.srcport = 8080;
    ZPPROFILE& p = c.profile[0];
    p.name = wxT("Boxhaus");
    p.host = kPlaceholderHost;
    p.user = wxT("root");
    p.pass = wxT("zaptower");
    p.wport = 80;
    p.sport = 8001;
    p.https = 0;
}

void ClampConfig(ZPCONFIG& c)
{
    if (c.volume < 0 || c.volume > 100)
        c.volume = 50;
    if (c.streambuffer < 0 || c.streambuffer > 100)
        c.streambuffer = 66;
    if (c.pipposition < 1 || c.pipposition > 5)
        c.pipposition = 2;
    if (c.pipoffset < 0 || c.pipoffset > 99)
        c.pipoffset = 25;
    if (c.pipsize < 10 || c.pipsize > 50)
        c.pipsize = 33;
    if (!(c.pipalpha >= 0.1 && c.pipalpha <= 1.0))
        c.pipalpha = 0.8;
    // a minimised window reports this position
    if (c.mainwin_x == -32000 || c.mainwin_y == -32000) {
        c.mainwin_x = 0;
        c.mainwin_y = 0;
    }
}

int ReadConfigFile(const wxString& file, ZPCONFIG& c, bool* ximagesink)
{
    std::unique_ptr<wxFileConfig> fcp = OpenInMemory(file);
    wxFileConfig& fc = *fcp;

    c.language = ReadString(fc, wxT("GENERAL/Language"), wxT("DE"));
    c.audiolanguage = ReadString(fc, wxT("GENERAL/AudioLanguage"), wxT("DE"));
    c.tvproviders = ReadInt(fc, wxT("GENERAL/TVProviders"), 0);
    c.raproviders = ReadInt(fc, wxT("GENERAL/RAProviders"), 0);
    c.volume = ReadInt(fc, wxT("GENERAL/Volume"), 50);
    c.deinterlacer = ReadInt(fc, wxT("GENERAL/Deinterlacer"), 0);
    c.deinterlacermethod = ReadInt(fc, wxT("GENERAL/DeinterlacerMethod"), 4);
    c.expertmode = ReadInt(fc, wxT("GENERAL/ExpertMode"), 0);
    c.tvcontrol = ReadInt(fc, wxT("GENERAL/TVControl"), 1);
    c.tooltips = ReadInt(fc, wxT("GENERAL/Tooltips"), 1);
    c.onlineupdate = ReadInt(fc, wxT("GENERAL/OnlineUpdate"), 0);
    c.recdir = ReadString(fc, wxT("GENERAL/RecDir"), wxString());
    c.excludedir = ReadString(fc, wxT("GENERAL/ExcludeDir"), wxString());
    c.sortmode = ReadInt(fc, wxT("GENERAL/SortMode"), 0);
    c.skiptime = ReadLong(fc, wxT("GENERAL/SkipTime"), 15);
    c.rezap = ReadInt(fc, wxT("GENERAL/Rezap"), 0);
    c.epgsimilar = ReadInt(fc, wxT("GENERAL/EPGSimilar"), 1);
    c.streambuffer = ReadInt(fc, wxT("GENERAL/StreamBuffer"), 66);
    c.streambuffertime = ReadLong(fc, wxT("GENERAL/StreamBufferTime"), 2);
    c.videosink = ReadString(fc, wxT("GENERAL/VideoSink"), wxT("xvimagesink"));
    c.timerdir = ReadString(fc, wxT("TIMER/Dir"), wxT("/hdd/movie/"));
    c.timertag = ReadString(fc, wxT("TIMER/Tag"), wxT("Zappora"));
    c.pipposition = ReadInt(fc, wxT("PIP/Position"), 2);
    c.pipsize = ReadInt(fc, wxT("PIP/Size"), 33);
    c.pipoffset = ReadInt(fc, wxT("PIP/Offset"), 25);
    c.pipalpha = ReadDouble(fc, wxT("PIP/Alpha"), 0.8);
    c.lband = ReadDouble(fc, wxT("AVPARAMETER/LBand"), 0.0);
    c.mband = ReadDouble(fc, wxT("AVPARAMETER/MBand"), 0.0);
    c.hband = ReadDouble(fc, wxT("AVPARAMETER/HBand"), 0.0);
    c.brightness = ReadDouble(fc, wxT("AVPARAMETER/Brightness"), 0.0);
    c.contrast = ReadDouble(fc, wxT("AVPARAMETER/Contrast"), 1.0);
    c.color = ReadDouble(fc, wxT("AVPARAMETER/Color"), 1.0);
    c.rctype = ReadInt(fc, wxT("REMOTECONTROL/RCType"), 0);
    c.rcinterval = ReadInt(fc, wxT("REMOTECONTROL/Intervall"), 0);
    c.rcmode = ReadInt(fc, wxT("REMOTECONTROL/Mode"), 0);
    c.rcquality = ReadInt(fc, wxT("REMOTECONTROL/Quality"), 0);
    c.rcresolution = ReadInt(fc, wxT("REMOTECONTROL/Resolution"), 0);
    c.mainwin_x = ReadInt(fc, wxT("MAINWINDOW/XPos"), -1);
    c.mainwin_y = ReadInt(fc, wxT("MAINWINDOW/YPos"), -1);
    c.mainwin_w = ReadInt(fc, wxT("MAINWINDOW/Width"), -1);
    c.mainwin_h = ReadInt(fc, wxT("MAINWINDOW/Height"), -1);
    c.videowin_x = ReadInt(fc, wxT("VIDEOWINDOW/XPos"), 0);
    c.videowin_y = ReadInt(fc, wxT("VIDEOWINDOW/YPos"), 0);
    c.videowin_w = ReadInt(fc, wxT("VIDEOWINDOW/Width"), 512);
    c.videowin_h = ReadInt(fc, wxT("VIDEOWINDOW/Height"), 288);
    c.srcport = int(ReadPort(fc, wxT("SRCSERVER/Port"), 8080));
    c.proxy.host = ReadString(fc, wxT("PROXY/Host"), wxString());
    c.proxy.port = ReadPort(fc, wxT("PROXY/Port"), 0);
    c.proxy.user = ReadString(fc, wxT("PROXY/User"), wxString());
    c.proxy.pass = ReadString(fc, wxT("PROXY/Pass"), wxString());
    c.proxymode = ReadLong(fc, wxT("PROXY/Mode"), 0) != 0;

    // Valid profiles are packed at the front in file order: an invalid one
    // does not take up a slot.
    int count = 0;
    for (int n = 1; n <= 10; n++) {
        const wxString group = wxString::Format(wxT("PROFILE%d/"), n);
        ZPPROFILE p;
        p.name = ReadString(fc, group + wxT("Name"), wxString());
        p.host = ReadString(fc, group + wxT("Host"), wxString());
        p.user = ReadString(fc, group + wxT("User"), wxString());
        p.pass = ReadString(fc, group + wxT("Pass"), wxString());
        p.wport = ReadPort(fc, group + wxT("WPort"), 0);
        p.sport = ReadPort(fc, group + wxT("SPort"), 0);
        p.https = ReadInt(fc, group + wxT("Https"), 0);
        if (ProfileValid(p))
            c.profile[count++] = p;
    }
    for (int n = count; n < 10; n++)
        c.profile[n] = ZPPROFILE();

    ClampConfig(c);

    if (c.proxy.host.empty() || c.proxy.port == 0 || c.proxy.user.empty() || c.proxy.pass.empty()) {
        c.proxyvalid = false;
        c.proxymode = false;
    } else {
        c.proxyvalid = true;
    }

    // the factory profile forces the settings dialog
    if (c.profile[0].host == kPlaceholderHost)
        count = 0;
    c.profiles = count;

    if (ximagesink)
        *ximagesink = (c.videosink == wxT("ximagesink"));
    return count;
}

// A configuration file that is a symbolic link stays one: what gets
// replaced is the link's final target (which need not exist yet).
static wxString FollowLinks(const wxString& file)
{
    std::string path(file.fn_str());
    for (int hops = 0; hops < 40; ++hops) {
        char buf[PATH_MAX];
        ssize_t n = ::readlink(path.c_str(), buf, sizeof buf - 1);
        if (n <= 0)
            break;
        std::string target(buf, size_t(n));
        if (target[0] != '/')
            target = path.substr(0, path.rfind('/') + 1) + target;
        path = target;
    }
    return wxString(path.c_str(), *wxConvFileName);
}

bool WriteConfigFile(const wxString& file, const ZPCONFIG& c)
{
    std::unique_ptr<wxFileConfig> fc = OpenInMemory(file);
    FillFromConfig(*fc, c);

    wxMemoryOutputStream buffer;
    if (!fc->Save(buffer, wxConvUTF8))
        return false;
    const size_t size = buffer.GetSize();
    std::string data(size, '\0');
    if (size > 0 && buffer.CopyTo(&data[0], size) != size)
        return false;

    const wxFileName target(FollowLinks(file));
    const wxCharBuffer tmpl = (target.GetFullPath() + wxT(".XXXXXX")).fn_str();
    std::string tmpName(tmpl.data());
    int fd = ::mkstemp(&tmpName[0]);
    if (fd < 0)
        return false;

    // keep the permissions of the file being replaced; a new one holds
    // passwords and stays private
    mode_t mode = 0600;
    struct stat st;
    if (::stat(target.GetFullPath().fn_str(), &st) == 0)
        mode = st.st_mode & 07777;

    bool ok = WriteAll(fd, data.data(), data.size());
    ok = ok && ::fchmod(fd, mode) == 0;
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(tmpName.c_str(), target.GetFullPath().fn_str()) == 0;
    if (!ok) {
        ::unlink(tmpName.c_str());
        return false;
    }
    // make the rename itself durable
    int dirfd = ::open(target.GetPath().fn_str(), O_RDONLY | O_DIRECTORY);
    if (dirfd >= 0) {
        ::fsync(dirfd);
        ::close(dirfd);
    }
    return true;
}

int GetConfig()
{
    SetPaths();
    const wxString file = CFG_PATH + kFileName;
    if (!wxFileName::FileExists(file)) {
        ResetConfig(config);
        // a reset leaves the PiP alpha alone; zero would hide the PiP picture
        ClampConfig(config);
        SetConfig(false);
        config.profiles = 0;
        return 0;
    }
    bool ximagesink = false;
    int count = ReadConfigFile(file, config, &ximagesink);
    if (ximagesink)
        compatibility = true;
    return count;
}

wxString ProgramDataDir(const wxString& exeDir, const std::function<bool(const wxString&)>& dirExists)
{
    const wxString sep = wxFileName::GetPathSeparator();
    for (const wxChar* data : {wxT("lng"), wxT("hlp"), wxT("pic")})
        if (dirExists(exeDir + data))
            return exeDir;
    const wxString shared = exeDir + wxT("..") + sep + wxT("share") + sep + wxT("zappora") + sep;
    if (dirExists(shared)) {
        wxFileName dir = wxFileName::DirName(shared);
        dir.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
        return dir.GetPath(wxPATH_GET_VOLUME | wxPATH_GET_SEPARATOR);
    }
    return exeDir;
}

bool SetConfig(bool reset)
{
    if (CFG_PATH.empty())
        SetPaths();
    if (!wxFileName::DirExists(CFG_PATH))
        wxFileName::Mkdir(CFG_PATH, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    if (reset)
        ResetConfig(config);
    return WriteConfigFile(CFG_PATH + kFileName, config);
}

wxString SeparateValue(const wxString& digits)
{
    wxString sign, rest = digits;
    if (rest.StartsWith(wxT("-"), &rest))
        sign = wxT("-");
    wxString out;
    const size_t len = rest.length();
    for (size_t i = 0; i < len; i++) {
        if (i > 0 && (len - i) % 3 == 0)
            out += wxT('.');
        out += rest[i];
    }
    return sign + out;
}
