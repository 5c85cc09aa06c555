#include "webif/webif.h"

#include <cstdio>
#include <cstring>
#include <curl/curl.h>
#include <wx/intl.h>
#include <wx/log.h>

#include "app/config.h"
#include "app/globals.h"
#include "app/splashframe.h"
#include "app/seams.h"

wxString result;

namespace {

long g_stallSeconds = kWebIFStallSeconds;
size_t g_maxBytes = kWebIFMaxBytes;
// Set by CurlWrite when it refused a body for its size, so that the failure
// can name the reason instead of libcurl's generic write error.
bool g_overflow = false;

void InitCurlOnce()
{
    static bool done = false;
    if (!done) {
        curl_global_init(CURL_GLOBAL_ALL);
        done = true;
    }
}

wxString Tr(const char* utf8)
{
    return wxGetTranslation(wxString::FromUTF8(utf8));
}

wxString DumpPath()
{
    return CFG_PATH + wxT("zappora.dbg");
}

void AppendDump(const char* data, size_t len)
{
    FILE* f = fopen(DumpPath().fn_str(), "ab");
    if (!f)
        return;
    fwrite(data, 1, len, f);
    fclose(f);
}

wxWindow* SplashParent()
{
    return SplashFrame;
}

std::string HostBytes(const wxString& host)
{
    wxCharBuffer b = host.mb_str(wxConvLibc);
    if (b.length() == 0 && !host.empty())
        b = host.utf8_str();
    return std::string(b.data(), b.length());
}

// Keeps the cut of an encoded text off the middle of an escape, and in UTF-8
// text off the middle of a character, so the receiver never sees a broken one.
size_t SafeCut(const char* enc, size_t len, size_t limit, bool utf8)
{
    if (len <= limit)
        return len;
    size_t cut = limit;
    // An escape starting in the last two bytes would be split.
    if (cut >= 1 && enc[cut - 1] == '%')
        cut -= 1;
    else if (cut >= 2 && enc[cut - 2] == '%')
        cut -= 2;
    if (!utf8)
        return cut;
    // Drop trailing escapes of a character whose remaining bytes did not fit.
    size_t end = cut;
    while (end >= 3 && enc[end - 3] == '%') {
        unsigned v = unsigned(strtoul(std::string(enc + end - 2, 2).c_str(), nullptr, 16));
        if ((v & 0xC0) == 0x80) {  // continuation byte: keep looking for the lead
            end -= 3;
            continue;
        }
        if (v >= 0xC0) {  // lead byte: complete only if all its continuations follow
            int need = v >= 0xF0 ? 3 : v >= 0xE0 ? 2 : 1;
            size_t have = (cut - end) / 3;
            return have >= size_t(need) ? cut : end - 3;
        }
        break;
    }
    return cut;
}

const char* Encode(const std::string& bytes, char* buffer, size_t size, bool utf8)
{
    buffer[0] = '\0';
    if (bytes.empty())
        return buffer;
    InitCurlOnce();
    CURL* h = curl_easy_init();
    if (!h)
        return buffer;
    char* enc = curl_easy_escape(h, bytes.data(), int(bytes.size()));
    if (enc) {
        size_t n = SafeCut(enc, strlen(enc), size - 1, utf8);
        memcpy(buffer, enc, n);
        buffer[n] = '\0';
        curl_free(enc);
    }
    curl_easy_cleanup(h);
    return buffer;
}

}  // namespace

void SetWebIFLimits(long stallSeconds, size_t maxBytes)
{
    g_stallSeconds = stallSeconds;
    g_maxBytes = maxBytes;
}

std::string WebIFURL(const ZPPROFILE& profile, const char* path)
{
    // No length cap: a command cut short could change a timer with half of
    // its values, which is worse than sending it whole.
    std::string url = profile.https ? "https://" : "http://";
    url += HostBytes(profile.host);
    url += ':';
    url += std::to_string(profile.wport);
    url += "/web/";
    url += path ? path : "";
    return url;
}

std::string WebIFProxy(const ZPCONFIG& cfg)
{
    const ZPPROXY& p = cfg.proxy;
    if (!cfg.proxymode || p.host.empty() || p.port <= 0 || p.user.empty() || p.pass.empty())
        return std::string();
    return HostBytes(p.host) + ":" + std::to_string(p.port);
}

wxString DecodeReply(const char* data, size_t len)
{
    static_assert(sizeof(wchar_t) == 4, "wide characters hold one code point");
    const unsigned char* s = reinterpret_cast<const unsigned char*>(data);
    std::wstring out;
    out.reserve(len);
    size_t i = 0;
    while (i < len) {
        unsigned c = s[i];
        if (c < 0x80) {
            out.push_back(wchar_t(c));
            ++i;
            continue;
        }
        int n = 0;
        unsigned cp = 0, min = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            n = 1, cp = c & 0x1F, min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 2, cp = c & 0x0F, min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 3, cp = c & 0x07, min = 0x10000;
        }
        // The whole sequence must be present: bytes i+1 .. i+n.
        bool ok = n > 0 && i + size_t(n) < len;
        if (ok) {
            for (int k = 1; k <= n; ++k) {
                if ((s[i + k] & 0xC0) != 0x80) {
                    ok = false;
                    break;
                }
                cp = (cp << 6) | (s[i + k] & 0x3F);
            }
        }
        if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (ok) {
            out.push_back(wchar_t(cp));
            i += size_t(n) + 1;
        } else {
            // Receivers sometimes pass EPG texts through in Latin-1; keep them
            // readable instead of losing the whole reply.
            out.push_back(wchar_t(c));
            ++i;
        }
    }
    return wxString(out.data(), out.size());
}

wxString WebIFStatusText(long status, const wxString& url)
{
    switch (status) {
    case 200:
    case 204:
        return wxString();
    case 401:
        return Tr("Der Zugriff auf das WebInterface wurde verweigert!\n\n"
                  "Bitte Benutzer und Kennwort überprüfen...\n");
    case 404:
        return wxString::Format(Tr("Die angeforderte Seite\n\n%s\n\nwurde nicht gefunden!\n\n"
                                   "Bitte die Version des WebInterface überprüfen...\n"),
                                url);
    default:
        return wxString::Format(Tr("Der Zugriff wurde mit Fehlercode HTTP %d abgewiesen!"), int(status));
    }
}

wxString WebIFTransportText(const ZPPROFILE& profile, const wxString& error,
                            const wxString& configFile)
{
    return wxString::Format(
        Tr("Die Verbindung zu \"%s://%s:%d\" konnte nicht hergestellt werden!\n\n"
           "\tFehlerursache: \"%s\"\n\nBitte die Netzwerkkonfiguration unter\n\n\t\"%s\""
           "\n\nüberprüfen oder mit dem Parameter \"--config\" erneut starten..."),
        profile.https ? wxT("https") : wxT("http"), profile.host, int(profile.wport), error,
        configFile);
}

size_t CurlWrite(void* data, size_t size, size_t count, void* stream)
{
    size_t n = size * count;
    std::string* body = static_cast<std::string*>(stream);
    if (body->size() + n > g_maxBytes) {
        g_overflow = true;
        return 0;  // anything but n makes libcurl abort the transfer
    }
    body->append(static_cast<const char*>(data), n);
    if (cmd_logfile)
        AppendDump(static_cast<const char*>(data), n);
    return n;
}

bool getWebIF(const char* path)
{
    result.clear();
    InitCurlOnce();

    const ZPPROFILE& prof = config.active();
    const std::string url = WebIFURL(prof, path);
    const wxString wurl = DecodeReply(url.data(), url.size());
    wxLogVerbose(wxT("Verbose: HTTP GET (%s)"), wurl);

    bool ok = false;
    CURL* h = curl_easy_init();
    if (!h) {
        if (SplashIsActive)
            ZPMessageBox(Tr("Das Netzwerk konnte nicht initialisiert werden!"), wxOK | wxICON_ERROR,
                         SplashParent());
    } else {
        if (cmd_logfile) {
            std::string head = "\n##### " + url + " #####\n\n";
            AppendDump(head.data(), head.size());
        }
        char errbuf[CURL_ERROR_SIZE];
        errbuf[0] = '\0';
        std::string body;
        std::string auth = std::string(prof.user.utf8_str()) + ":" + std::string(prof.pass.utf8_str());
        std::string proxy = WebIFProxy(config);
        std::string proxyAuth;

        curl_easy_setopt(h, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
        curl_easy_setopt(h, CURLOPT_URL, url.c_str());
        curl_easy_setopt(h, CURLOPT_PORT, prof.wport);
        curl_easy_setopt(h, CURLOPT_HTTPAUTH, long(CURLAUTH_BASIC));
        curl_easy_setopt(h, CURLOPT_USERPWD, auth.c_str());
        curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, 5L);
        curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
        // A stalled receiver must not hang the GUI for ever; a slow one that
        // keeps delivering is never cut.
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, g_stallSeconds);
        curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(g_maxBytes));
        curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errbuf);
        curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, CurlWrite);
        curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);
        // Receivers carry self-signed certificates issued to their own name.
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 0L);
        if (!proxy.empty()) {
            proxyAuth = std::string(config.proxy.user.utf8_str()) + ":" +
                        std::string(config.proxy.pass.utf8_str());
            curl_easy_setopt(h, CURLOPT_PROXY, proxy.c_str());
            curl_easy_setopt(h, CURLOPT_PROXYUSERPWD, proxyAuth.c_str());
        } else {
            // Never a proxy from the environment: only the configured one counts.
            curl_easy_setopt(h, CURLOPT_PROXY, "");
        }

        g_overflow = false;
        CURLcode rc = curl_easy_perform(h);
        if (rc != CURLE_OK) {
            curl_easy_cleanup(h);
            wxString err;
            if (g_overflow)
                err = wxString::Format(wxT("reply larger than %zu bytes"), g_maxBytes);
            else if (errbuf[0])
                err = wxString::FromUTF8(errbuf);
            else
                err = wxString::FromUTF8(curl_easy_strerror(rc));
            wxLogError(wxT("NET ERR #%.2d (%s)"), int(rc), err);
            if (SplashIsActive)
                ZPMessageBox(WebIFTransportText(prof, err, CFG_PATH + wxT("zappora.cfg")),
                             wxOK | wxICON_ERROR, SplashParent());
        } else {
            long status = 0;
            curl_off_t bytes = 0;
            double seconds = 0;
            curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
            curl_easy_getinfo(h, CURLINFO_SIZE_DOWNLOAD_T, &bytes);
            curl_easy_getinfo(h, CURLINFO_TOTAL_TIME, &seconds);
            curl_easy_cleanup(h);
            wxLogVerbose(wxT("%s HTTP %d (%.0f Byte in %.3f Sekunden)"), wxT("Verbose:"), int(status),
                         double(bytes), seconds);
            result = DecodeReply(body.data(), body.size());
            ok = status == 200 || status == 204;
            if (!ok && SplashIsActive)
                ZPMessageBox(WebIFStatusText(status, wurl), wxOK | wxICON_ERROR, SplashParent());
        }
    }

    if (SplashIsActive)
        SplashHasError = !ok;
    return ok;
}

const char* EncodeURL(const wxString& text)
{
    static char buffer[1024];
    wxCharBuffer b = text.utf8_str();
    return Encode(std::string(b.data(), b.length()), buffer, sizeof buffer, true);
}

const char* EncodeURL(const wxString& text, bool)
{
    static char buffer[1024];
    wxCharBuffer b = text.mb_str(wxConvLibc);
    // A term the locale cannot express would otherwise vanish; UTF-8 is what
    // the receiver expects anyway.
    if (b.length() == 0 && !text.empty())
        b = text.utf8_str();
    return Encode(std::string(b.data(), b.length()), buffer, sizeof buffer, false);
}

wxString QueryValue(const wxString& raw)
{
    const wxScopedCharBuffer b = raw.utf8_str();
    if (b.length() == 0)
        return wxString();
    InitCurlOnce();
    CURL* h = curl_easy_init();
    if (!h)
        return wxString();
    wxString out;
    if (char* enc = curl_easy_escape(h, b.data(), int(b.length()))) {
        out = wxString::FromAscii(enc);
        curl_free(enc);
    }
    curl_easy_cleanup(h);
    return out;
}
