// The two embedded sounds, as complete WAV files in memory (for wxSound's
// in-memory constructor).
#pragma once

#include <cstddef>

extern const unsigned char wavdata_click[];    // key click of the remote control
extern const size_t wavdata_click_size;
extern const unsigned char wavdata_notify[];   // arrival of a notification
extern const size_t wavdata_notify_size;
