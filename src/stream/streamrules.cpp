#include "stream/streamrules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <strings.h>

int PidFromPadName(const char* name)
{
    if (!name)
        return -1;
    const char* us = strrchr(name, '_');
    if (!us || !isxdigit((unsigned char)us[1]))
        return -1;
    char* end = nullptr;
    long v = strtol(us + 1, &end, 16);
    if (*end != '\0' || v < 0 || v > 0x1FFF)
        return -1;
    return int(v);
}

// Value of an integer field "name=(int)N" or "name=N" in a caps text; -1 if absent.
static int CapsInt(const char* caps, const char* field)
{
    std::string key = std::string(field) + "=";
    const char* p = strstr(caps, key.c_str());
    if (!p)
        return -1;
    p += key.size();
    if (strncmp(p, "(int)", 5) == 0)
        p += 5;
    return isdigit((unsigned char)*p) ? atoi(p) : -1;
}

StreamKind KindFromCaps(const char* caps)
{
    if (!caps)
        return KIND_UNKNOWN;
    if (strstr(caps, "video/mpeg")) {
        // MPEG-4 Part 2 shares the media type but not the decoder.
        int v = CapsInt(caps, "mpegversion");
        return (v == -1 || v == 1 || v == 2) ? KIND_MPEG2_VIDEO : KIND_UNKNOWN;
    }
    if (strstr(caps, "video/x-h264"))
        return KIND_H264_VIDEO;
    if (strstr(caps, "audio/mpeg")) {
        // mpegversion 2/4 is AAC, which has no decoder chain here.
        int v = CapsInt(caps, "mpegversion");
        return (v == -1 || v == 1) ? KIND_MPEG_AUDIO : KIND_UNKNOWN;
    }
    if (strstr(caps, "audio/x-ac3") || strstr(caps, "audio/ac3"))
        return KIND_AC3_AUDIO;
    if (strstr(caps, "application/x-teletext"))
        return KIND_TELETEXT;
    if (strstr(caps, "subpicture/x-dvb"))
        return KIND_DVB_SUBTITLE;
    return KIND_UNKNOWN;
}

const char* KindTag(StreamKind kind)
{
    switch (kind) {
    case KIND_MPEG2_VIDEO: return "MPGV";
    case KIND_H264_VIDEO: return "H264";
    case KIND_MPEG_AUDIO: return "MPGA";
    case KIND_AC3_AUDIO: return "AC-3";
    case KIND_TELETEXT: return "TTXT";
    case KIND_DVB_SUBTITLE: return "SUBT";
    default: return "UNKN";
    }
}

int NationalOptionFromLanguage(const char* lang)
{
    static const struct { const char* code; int option; } table[] = {
        {"cze", 0}, {"ces", 0}, {"slo", 0}, {"slk", 0}, {"eng", 1}, {"est", 2},
        {"fre", 3}, {"fra", 3}, {"ger", 4}, {"deu", 4}, {"ita", 5}, {"lav", 6},
        {"lit", 6}, {"pol", 7}, {"por", 8}, {"spa", 8}, {"rum", 9}, {"ron", 9},
        {"srp", 10}, {"hrv", 10}, {"slv", 10}, {"swe", 11}, {"fin", 11}, {"tur", 12},
    };
    if (!lang)
        return 1;
    for (const auto& e : table)
        if (strncasecmp(lang, e.code, 3) == 0)
            return e.option;
    return 1;
}

static void CopyLanguage(char* dst, const uint8_t* src)
{
    for (int i = 0; i < 3; ++i)
        dst[i] = (src[i] >= 0x20 && src[i] < 0x7f) ? char(src[i]) : '?';
    dst[3] = '\0';
}

PmtSummary SummarizePmt(const std::vector<PmtStream>& streams)
{
    PmtSummary s;
    for (const auto& st : streams) {
        switch (st.type) {
        case 0x02:
            s.playable++;
            s.found.push_back("MPGV found\n");
            break;
        case 0x1b:
            s.playable++;
            s.found.push_back("H264 found\n");
            break;
        case 0x03:
        case 0x04:
            s.playable++;
            s.found.push_back("MPGA found\n");
            break;
        case 0x06:
            for (const auto& d : st.descriptors) {
                if (d.size() < 2)
                    continue;
                if (d[0] == 0x6A) {
                    s.playable++;
                    s.found.push_back("AC-3 found\n");
                } else if (d[0] == 0x56) {
                    s.playable++;
                    s.found.push_back("TTXT found\n");
                    if (d.size() < 7)
                        continue;
                    s.teletext = true;
                    CopyLanguage(s.ttxLanguage, &d[2]);
                    if ((d[5] >> 3) == 1) {
                        // Magazine number 0 stands for magazine 8.
                        int mag = d[5] & 7;
                        s.ttxPage = (mag ? mag : 8) * 256 + d[6];
                    } else {
                        s.ttxPage = 0x100;
                    }
                    s.nationalOption = NationalOptionFromLanguage(s.ttxLanguage);
                } else if (d[0] == 0x59) {
                    s.found.push_back("SUBT found\n");
                    if (d.size() < 6 || s.subtitles.size() >= 25)
                        continue;
                    SubtitleDescriptor sd;
                    sd.pid = st.pid;
                    sd.type = d[5];
                    CopyLanguage(sd.language, &d[2]);
                    s.subtitles.push_back(sd);
                }
            }
            break;
        default:
            break;
        }
    }
    return s;
}

int PreferredAudioTrack(const std::vector<AudioChoice>& tracks, const wxString& preferred)
{
    if (tracks.empty())
        return -1;
    std::vector<int> candidates;
    if (preferred.length() >= 2) {
        std::string want = preferred.Left(2).Lower().ToStdString();
        for (size_t i = 0; i < tracks.size(); ++i) {
            const std::string& l = tracks[i].language;
            if (l.size() >= 2 && tolower((unsigned char)l[0]) == want[0] &&
                tolower((unsigned char)l[1]) == want[1])
                candidates.push_back(int(i));
        }
    }
    if (candidates.empty())
        for (size_t i = 0; i < tracks.size(); ++i)
            candidates.push_back(int(i));
    int best = candidates[0];
    for (int i : candidates)
        if (tracks[i].pid < tracks[best].pid)
            best = i;
    return best;
}

long ServiceIdFromRef(const wxString& ref)
{
    wxString rest = ref;
    for (int i = 0; i < 3; ++i) {
        int c = rest.Find(':');
        if (c == wxNOT_FOUND)
            return 0;
        rest = rest.Mid(c + 1);
    }
    wxString field = rest.BeforeFirst(':');
    unsigned long v = 0;
    if (field.empty() || !field.ToULong(&v, 16))
        return 0;
    return long(v);
}

wxString StreamRefOf(const wxString& ref)
{
    if (ref.Find(wxT("::")) == wxNOT_FOUND)
        return ref;
    return ref.BeforeLast(':');
}

bool IsMarkerRef(const wxString& ref)
{
    return ref.StartsWith(wxT("1:64:"));
}

wxString RecordingPathOf(const wxString& ref)
{
    int slash = ref.Find('/');
    return slash == wxNOT_FOUND ? wxString() : ref.Mid(slash + 1);
}

wxString LiveStreamLocation(const wxString& host, long port, const char* encodedRef)
{
    return wxString::Format(wxT("http://%s:%ld/%s"), host, port, wxString::FromUTF8(encodedRef));
}

wxString RecordingLocation(bool https, const wxString& user, const wxString& pass,
                           const wxString& host, long port, const char* encodedPath)
{
    return wxString::Format(https ? wxT("https://%s:%s@%s:%ld/file?file=/%s")
                                  : wxT("http://%s:%s@%s:%ld/file?file=/%s"),
                            user, pass, host, port, wxString::FromUTF8(encodedPath));
}

wxString PiconName(const wxString& ref)
{
    wxString name = ref;
    name.Replace(wxT(":"), wxT("_"));
    return name.BeforeLast('_');
}

void FitPicon(int& w, int& h)
{
    const int slotW = 70, slotH = 53;
    if (w <= 0 || h <= 0 || (w <= slotW && h <= slotH))
        return;
    // the smaller of the two scales, rounded, never below one pixel
    if ((long long)w * slotH >= (long long)h * slotW) {
        h = std::max(1, int(((long long)h * slotW + w / 2) / w));
        w = slotW;
    } else {
        w = std::max(1, int(((long long)w * slotH + h / 2) / h));
        h = slotH;
    }
}

wxString FormatStreamTime(uint64_t ns, bool defined)
{
    if (!defined || ns == UINT64_MAX)
        return wxT("99h:99m:99s");
    uint64_t s = ns / 1000000000ull;
    return wxString::Format(wxT("%uh:%02um:%02us"), unsigned(s / 3600), unsigned((s / 60) % 60),
                            unsigned(s % 60));
}

wxString TrackEntryLabel(bool video, int number, int pid, int kind)
{
    const wxChar* codec;
    if (video)
        codec = kind == KIND_MPEG2_VIDEO ? wxT("MPEG") : wxT("H264");
    else
        codec = kind == KIND_MPEG_AUDIO ? wxT("MPEG") : wxT("AC-3");
    return wxString::Format(video ? wxT("Videospur %d (0x%.4X, %s)") : wxT("Audiospur %d (0x%.4X, %s)"),
                            number, pid, codec);
}

std::string BusMessageText(const char* prefix, const char* object, const char* message,
                           const char* debug)
{
    char buf[512];
    snprintf(buf, sizeof buf, "%s [%s#%s#%s]", prefix, object ? object : "(NULL)",
             message ? message : "", debug ? debug : "");
    return buf;
}

int WrapStep(int count, int index, bool forward)
{
    if (count <= 0)
        return -1;
    if (forward)
        return (index + 1 >= count || index < 0) ? 0 : index + 1;
    return (index <= 0 || index >= count) ? count - 1 : index - 1;
}

int FindMarker(const std::vector<bool>& isMarker, int start, bool forward)
{
    int n = int(isMarker.size());
    if (n == 0)
        return -1;
    int i = start;
    for (int steps = 0; steps < n; ++steps) {
        i = WrapStep(n, i, forward);
        if (i == start)
            return -1;
        if (isMarker[i])
            return i;
    }
    return -1;
}
