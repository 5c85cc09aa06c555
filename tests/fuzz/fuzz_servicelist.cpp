// The reader of the receiver's recursive service lists (bouquets, providers),
// fed the raw bytes of a reply.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "webif/services.h"
#include "webif/webif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const wxString reply = DecodeReply(reinterpret_cast<const char*>(data), size);
    std::vector<ServiceBouquet> bouquets;
    if (ParseServiceList(reply, bouquets))
        for (const ServiceBouquet& b : bouquets)
            for (const ServiceEntry& s : b.services)
                (void)IsMarkerSRef(s.ref);
    return 0;
}
