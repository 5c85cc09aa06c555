// The readers of what the receiver does now, fed the raw bytes of a reply:
// standby, playability, current service, now/next events and their texts,
// audio tracks, sub-services, similar events, device information.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/startup.h"
#include "webif/current.h"
#include "webif/webif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const wxString reply = DecodeReply(reinterpret_cast<const char*>(data), size);
    (void)ParseStandbyState(reply);
    (void)ServiceNotPlayable(reply);

    wxString ref, name;
    if (ParseCurrentService(reply, ref, name)) {
        (void)CurrentRefFromReply(ref, wxT("1:0:1:1:1:1:C00000:0:0:0:"));
        (void)ModeFromRef(ref, 1);
    }

    EventFields ev;
    if (ParseEventFields(reply, ev)) {
        (void)NextEventTexts(ev);
        (void)NowEventTexts(ev, 1798675200);
    }
    std::vector<EventFields> events;
    (void)ParseEventList(reply, events);
    (void)FormatSimilarEvents(reply);

    std::vector<AudioTrack> tracks;
    bool wellFormed = false;
    if (ParseAudioTracks(reply, tracks, wellFormed) && !tracks.empty())
        (void)FindTrackByPid(tracks, tracks.back().pid);
    std::vector<SubService> subs;
    (void)ParseSubServices(reply, subs, wellFormed);

    const DeviceInfo info = ParseDeviceInfo(reply);
    if (info.valid)
        (void)ParseWebIFVersion(info.version).tooOld();
    return 0;
}
