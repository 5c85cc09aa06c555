// The one way to talk to the receiver's web interface.
#pragma once

#include <cstddef>
#include <string>
#include <wx/string.h>

struct ZPPROFILE;
struct ZPCONFIG;

// Body of the most recent request (empty after a transport failure).
extern wxString result;

// GET /web/<path> on the active receiver; true for HTTP 200 and 204.
bool getWebIF(const char* path);
inline bool getWebIF(const wxString& path) { return getWebIF(path.utf8_str().data()); }

// libcurl write callback: collects the body (and mirrors it to the dump file).
// stream is a std::string*; a body beyond the size limit aborts the transfer.
size_t CurlWrite(void* data, size_t size, size_t count, void* stream);

// Percent-encodes text as UTF-8 (the second form uses the locale's encoding).
// The returned buffer is static and valid until the next call of the same form.
const char* EncodeURL(const wxString& text);
const char* EncodeURL(const wxString& text, bool localeEncoding);
// A value for a query or an FTP path segment: every byte of its UTF-8 form
// except the unreserved characters percent-encoded, without a length cut.
// Encode the raw value exactly once: a bouquet's reference from its tree
// payload's getRawSRef(), not getSRef() (blanks already "%20" would go out as
// "%2520").
wxString QueryValue(const wxString& raw);

// Transfer guards: a reply that delivers no byte for stallSeconds, or whose
// body grows beyond maxBytes, ends as a transport failure.
constexpr long kWebIFStallSeconds = 30;
constexpr size_t kWebIFMaxBytes = size_t(64) << 20;
void SetWebIFLimits(long stallSeconds, size_t maxBytes);

// Building blocks of getWebIF, plain values in and out.
std::string WebIFURL(const ZPPROFILE& profile, const char* path);
// "host:port" of the configured proxy, or empty when it must not be used.
std::string WebIFProxy(const ZPCONFIG& cfg);
// Reply bytes as text; bytes that are not valid UTF-8 are taken as Latin-1.
wxString DecodeReply(const char* data, size_t len);
// Box text for an HTTP status that is not a success (empty for 200/204).
wxString WebIFStatusText(long status, const wxString& url);
// Box text for a request that failed below HTTP.
wxString WebIFTransportText(const ZPPROFILE& profile, const wxString& error,
                            const wxString& configFile);
