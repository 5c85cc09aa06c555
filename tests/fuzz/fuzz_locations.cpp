// Fuzz target: the reader of the receiver's recording directories, from the
// reply bytes as they arrive.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "webif/locations.h"
#include "webif/webif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<wxString> dirs;
    ParseLocations(DecodeReply(reinterpret_cast<const char*>(data), size), dirs);
    return 0;
}
