// Decisions of the settings dialog that need no window: what a scroll-bar
// position stands for, the receiver profiles being edited, and whether what
// the user typed can be used.
#pragma once

#include <functional>
#include <vector>
#include <wx/string.h>

#include "app/config.h"

// ---- scroll bars: position <-> value, and the label beside them ----
// Equaliser bands: positions 0..360 are -24.0..+12.0 dB.
double BandValue(int pos);
int BandPosition(double dB);
// Brightness: 0..200 is -1.00..+1.00.
double BrightnessValue(int pos);
int BrightnessPosition(double value);
// Contrast and colour: 0..200 is 0.00..2.00.
double GainValue(int pos);
int GainPosition(double value);
// PiP size: 0..40 is 10..50 percent; offset: 0..99 as it is.
int PiPSizeValue(int pos);
int PiPSizePosition(int percent);
int PiPOffsetPosition(int offset);
// PiP transparency: 0..8 is an alpha of 0.1..0.9.
double PiPAlphaValue(int pos);
int PiPAlphaPosition(double alpha);

wxString BandLabel(double dB);        // "%+.1f"
wxString BalanceLabel(double value);  // "%+.2f"
wxString PiPAlphaLabel(int pos);      // "%d" of pos + 1

// ---- choices ----
// The two provider flags as one choice: TV + 2 x radio.
int ChannelListIndex(int tvProviders, int raProviders);
void ChannelListFlags(int index, int* tvProviders, int* raProviders);

// A receiver directory for new timers always begins and ends with "/".
wxString NormaliseTimerDir(const wxString& dir);
// Ignored receiver directories are kept as "dir;dir;".
std::vector<wxString> SplitDirList(const wxString& text);
wxString JoinDirList(const std::vector<wxString>& dirs);
// A local directory as shown in its field: with a trailing separator.
wxString WithTrailingSeparator(const wxString& dir);

// A number typed into a field; 0 when it is not a decimal number.
long FieldNumber(const wxString& text);

// ---- profiles being edited ----
class ProfileList {
public:
    static constexpr int kMax = 10;

    // The listed profiles of cfg (at least one: an empty record becomes the
    // factory profile); the active one is followed through every change.
    explicit ProfileList(const ZPCONFIG& cfg);
    ProfileList() = default;

    int count() const { return int(items_.size()); }
    ZPPROFILE& at(int i) { return items_[size_t(i)]; }
    const ZPPROFILE& at(int i) const { return items_[size_t(i)]; }
    // Slot the profile had in the record when the dialog opened, -1 for a new one.
    int origin(int i) const { return origins_[size_t(i)]; }
    // Index of the profile the program uses; -1 once it was deleted.
    int active() const { return active_; }

    bool canAdd() const { return count() < kMax; }
    bool canDelete() const { return count() > 1; }
    bool canMoveUp(int i) const { return i > 0 && i < count(); }
    bool canMoveDown(int i) const { return i >= 0 && i + 1 < count(); }

    // Each returns the index of the profile to select afterwards, or -1 when
    // nothing changed.
    int add(const wxString& name);
    int remove(int i);
    int moveUp(int i);
    int moveDown(int i);
    bool rename(int i, const wxString& name);

    // The ten slots of the record as they are to be stored.
    void store(ZPCONFIG& cfg) const;

private:
    void swap(int a, int b);
    std::vector<ZPPROFILE> items_;
    std::vector<int> origins_;
    int active_ = 0;
};

// A new profile as the "add" button makes it.
ZPPROFILE NewProfile(const wxString& name);
// Whether two records reach the same receiver the same way.
bool SameConnection(const ZPPROFILE& a, const ZPPROFILE& b);

// Whether a host name or address resolves to an IPv4 address.
using HostCheck = std::function<bool(const wxString& host)>;
bool ResolvesIPv4(const wxString& host);
// The first fault of the profiles in list order as the message the user
// sees, empty when every profile can be used.
wxString CheckProfiles(const ProfileList& profiles, const HostCheck& resolves = ResolvesIPv4);
// The fault of the proxy fields, empty when they can be used (or are off).
wxString CheckProxy(bool mode, const wxString& host, const wxString& port, const wxString& user,
                    const wxString& pass);
// Skip time in seconds: a whole number of at least one second.
wxString CheckSkipTime(const wxString& text);

// Provider caches belong to a receiver, not to a slot number: where each
// cache file must go once the edited profiles are stored. Slots whose
// receiver is gone or reached differently lose their caches.
struct CacheMove {
    int from;  // slot of the cache now
    int to;    // slot it belongs to afterwards, -1 to delete it
};
std::vector<CacheMove> PlanCacheMoves(const ProfileList& profiles, const ZPCONFIG& before);
// Renames and deletes the "tv-provider-%ld.xml"/"ra-provider-%ld.xml" files in dir.
void MoveProviderCaches(const wxString& dir, const std::vector<CacheMove>& moves);
