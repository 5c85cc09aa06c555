#include "settings/setuprules.h"

#include <arpa/inet.h>
#include <cmath>
#include <netdb.h>
#include <sys/socket.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/tokenzr.h>

#include "app/configfile.h"
#include "webif/services.h"

namespace {

int ClampPos(long pos, int max)
{
    return pos < 0 ? 0 : (pos > max ? max : int(pos));
}

int RoundPos(double pos, int max)
{
    if (!std::isfinite(pos))
        return 0;
    return ClampPos(std::lround(pos), max);
}

}  // namespace

double BandValue(int pos) { return (pos - 240) / 10.0; }
int BandPosition(double dB) { return RoundPos(dB * 10.0 + 240.0, 360); }
double BrightnessValue(int pos) { return (pos - 100) / 100.0; }
int BrightnessPosition(double value) { return RoundPos(value * 100.0 + 100.0, 200); }
double GainValue(int pos) { return pos / 100.0; }
int GainPosition(double value) { return RoundPos(value * 100.0, 200); }
int PiPSizeValue(int pos) { return pos + 10; }
int PiPSizePosition(int percent) { return ClampPos(percent - 10, 40); }
int PiPOffsetPosition(int offset) { return ClampPos(offset, 99); }
double PiPAlphaValue(int pos) { return (pos + 1) / 10.0; }
int PiPAlphaPosition(double alpha) { return RoundPos(alpha * 10.0 - 1.0, 8); }

wxString BandLabel(double dB) { return wxString::Format(wxT("%+.1f"), dB); }
wxString BalanceLabel(double value) { return wxString::Format(wxT("%+.2f"), value); }
wxString PiPAlphaLabel(int pos) { return wxString::Format(wxT("%d"), pos + 1); }

int ChannelListIndex(int tvProviders, int raProviders)
{
    return (tvProviders ? 1 : 0) + (raProviders ? 2 : 0);
}

void ChannelListFlags(int index, int* tvProviders, int* raProviders)
{
    *tvProviders = (index & 1) ? 1 : 0;
    *raProviders = (index & 2) ? 1 : 0;
}

wxString NormaliseTimerDir(const wxString& dir)
{
    wxString out = dir;
    if (!out.StartsWith(wxT("/")))
        out.Prepend(wxT("/"));
    if (!out.EndsWith(wxT("/")))
        out.Append(wxT("/"));
    return out;
}

std::vector<wxString> SplitDirList(const wxString& text)
{
    std::vector<wxString> dirs;
    wxStringTokenizer parts(text, wxT(";"), wxTOKEN_STRTOK);
    while (parts.HasMoreTokens()) {
        wxString dir = parts.GetNextToken();
        dir.Trim(true).Trim(false);
        if (!dir.empty())
            dirs.push_back(dir);
    }
    return dirs;
}

wxString JoinDirList(const std::vector<wxString>& dirs)
{
    wxString out;
    for (const wxString& d : dirs)
        out << d << wxT(";");
    return out;
}

wxString WithTrailingSeparator(const wxString& dir)
{
    if (dir.empty() || wxFileName::IsPathSeparator(dir.Last()))
        return dir;
    return dir + wxFileName::GetPathSeparator();
}

long FieldNumber(const wxString& text)
{
    wxString t = text;
    t.Trim(true).Trim(false);
    long value = 0;
    if (t.empty() || !t.ToLong(&value, 10))
        return 0;
    return value;
}

// ---- profiles ----

ZPPROFILE NewProfile(const wxString& name)
{
    ZPPROFILE p;
    p.name = name;
    p.host = wxT("127.0.0.1");
    p.wport = 80;
    p.user = wxT("root");
    p.pass = wxT("zaptower");
    p.sport = 8001;
    p.https = 0;
    return p;
}

bool SameConnection(const ZPPROFILE& a, const ZPPROFILE& b)
{
    return a.host == b.host && a.wport == b.wport && a.sport == b.sport && a.user == b.user &&
           a.pass == b.pass && (a.https != 0) == (b.https != 0);
}

ProfileList::ProfileList(const ZPCONFIG& cfg)
{
    // Valid profiles sit packed at the front; the count is 0 while profile 1
    // is the factory placeholder, and the ones behind it must not get lost.
    int n = cfg.profiles;
    while (n < kMax && !cfg.profile[n].name.empty())
        n++;
    for (int i = 0; i < n; i++) {
        items_.push_back(cfg.profile[i]);
        origins_.push_back(i);
    }
    if (items_.empty()) {
        ZPCONFIG factory;
        ResetConfig(factory);
        items_.push_back(factory.profile[0]);
        origins_.push_back(-1);
    }
    active_ = (cfg.profile_active >= 0 && cfg.profile_active < count()) ? int(cfg.profile_active) : 0;
}

int ProfileList::add(const wxString& name)
{
    if (!canAdd() || name.empty())
        return -1;
    items_.push_back(NewProfile(name));
    origins_.push_back(-1);
    return count() - 1;
}

int ProfileList::remove(int i)
{
    if (!canDelete() || i < 0 || i >= count())
        return -1;
    items_.erase(items_.begin() + i);
    origins_.erase(origins_.begin() + i);
    if (active_ == i)
        active_ = -1;
    else if (active_ > i)
        active_--;
    return i < count() ? i : count() - 1;
}

void ProfileList::swap(int a, int b)
{
    std::swap(items_[size_t(a)], items_[size_t(b)]);
    std::swap(origins_[size_t(a)], origins_[size_t(b)]);
    if (active_ == a)
        active_ = b;
    else if (active_ == b)
        active_ = a;
}

int ProfileList::moveUp(int i)
{
    if (!canMoveUp(i))
        return -1;
    swap(i, i - 1);
    return i - 1;
}

int ProfileList::moveDown(int i)
{
    if (!canMoveDown(i))
        return -1;
    swap(i, i + 1);
    return i + 1;
}

bool ProfileList::rename(int i, const wxString& name)
{
    if (i < 0 || i >= count() || name.empty())
        return false;
    items_[size_t(i)].name = name;
    return true;
}

void ProfileList::store(ZPCONFIG& cfg) const
{
    for (int i = 0; i < kMax; i++)
        cfg.profile[i] = i < count() ? items_[size_t(i)] : ZPPROFILE();
    cfg.profiles = count();
    cfg.profile_active = active_ >= 0 ? active_ : 0;
}

// ---- checks ----

bool ResolvesIPv4(const wxString& host)
{
    if (host.empty())
        return false;
    bool numeric = true;
    for (wxUniChar c : host) {
        const bool digit = c >= '0' && c <= '9';
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!digit && !letter && c != '.' && c != '-')
            return false;   // nothing a resolver could find, no need to ask it
        if (!digit && c != '.')
            numeric = false;
    }
    const wxScopedCharBuffer name = host.utf8_str();
    if (numeric) {
        in_addr addr;
        return inet_pton(AF_INET, name.data(), &addr) == 1;
    }
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int rc = getaddrinfo(name.data(), nullptr, &hints, &found);
    if (found)
        freeaddrinfo(found);
    return rc == 0;
}

wxString CheckProfiles(const ProfileList& profiles, const HostCheck& resolves)
{
    for (int i = 0; i < profiles.count(); i++) {
        const ZPPROFILE& p = profiles.at(i);
        if (p.host.empty() || p.user.empty() || p.pass.empty() || p.wport == 0 || p.sport == 0)
            return wxString::Format(_(wxT("Das Profil \"%s\" ist unvollständig.\n\nBitte alle Felder ausfüllen!")),
                                    p.name);
        if (!resolves(p.host))
            return wxString::Format(_(wxT("Ungültige Adresse für Profil \"%s\":\n\n%s")), p.name, p.host);
        for (long port : { p.wport, p.sport }) {
            if (port < 1 || port > 65535)
                return wxString::Format(_(wxT("Ungültiger Port für Profil \"%s\":\n\n%ld")), p.name, port);
        }
    }
    return wxString();
}

wxString CheckProxy(bool mode, const wxString& host, const wxString& port, const wxString& user,
                    const wxString& pass)
{
    if (!mode)
        return wxString();
    if (host.empty() || port.empty() || user.empty() || pass.empty())
        return _(wxT("Die Proxy-Einstellungen sind unvollständig.\n\nBitte alle Felder ausfüllen!"));
    const long number = FieldNumber(port);
    if (number < 1 || number > 65535)
        return _(wxT("Ungültiger Proxy-Port!"));
    return wxString();
}

wxString CheckSkipTime(const wxString& text)
{
    if (FieldNumber(text) < 1)
        return _(wxT("Die Sprungweite muss eine ganze Zahl von Sekunden sein (mindestens 1)."));
    return wxString();
}

// ---- provider caches ----

namespace {

bool SameReceiver(const ZPPROFILE& a, const ZPPROFILE& b)
{
    return a.host.IsSameAs(b.host, false) && a.wport == b.wport && (a.https != 0) == (b.https != 0);
}

}  // namespace

std::vector<CacheMove> PlanCacheMoves(const ProfileList& profiles, const ZPCONFIG& before)
{
    std::vector<CacheMove> moves;
    for (int slot = 0; slot < ProfileList::kMax; slot++) {
        int to = -1;
        for (int i = 0; i < profiles.count(); i++) {
            if (profiles.origin(i) == slot && SameReceiver(profiles.at(i), before.profile[slot]))
                to = i;
        }
        if (to != slot)
            moves.push_back({slot, to});
    }
    return moves;
}

void MoveProviderCaches(const wxString& dir, const std::vector<CacheMove>& moves)
{
    // Through temporary names: two profiles may swap their slots.
    for (int kind : { LIST_TV_PROVIDERS, LIST_RA_PROVIDERS }) {
        std::vector<std::pair<wxString, wxString>> pending;
        for (const CacheMove& m : moves) {
            const wxString from = dir + ProviderCacheName(kind, m.from);
            if (!wxFileExists(from))
                continue;
            if (m.to < 0) {
                wxRemoveFile(from);
                continue;
            }
            const wxString temp = from + wxT(".moving");
            if (wxRenameFile(from, temp, true))
                pending.emplace_back(temp, dir + ProviderCacheName(kind, m.to));
            else
                wxRemoveFile(from);
        }
        for (const auto& p : pending) {
            if (!wxRenameFile(p.first, p.second, true))
                wxRemoveFile(p.first);
        }
    }
}
