// The program's own version, as shown in the log and the about box.
#pragma once

#define ZP_PROGRAM_VERSION "0.4.0-B14b"
