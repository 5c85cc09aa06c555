// Reading the receiver's recursive service lists (bouquets and providers)
// into plain values, and the small rules around them: request paths, tree
// positions, cache file names.
#pragma once

#include <vector>
#include <wx/string.h>

class wxXmlDocument;
class wxXmlNode;

// Parses a receiver reply (UTF-8 XML held in a wxString) quietly; false when it
// is not well-formed.
bool LoadReplyXml(const wxString& text, wxXmlDocument& doc);
// Text of an element without surrounding whitespace; empty for a missing
// node. Every value read from a reply goes through here.
wxString ElementText(const wxXmlNode* node);
// Texts of the `item` children of a `root` reply ("e2locations"/"e2location",
// "e2tags"/"e2tag"), appended in document order, trimmed; empty ones and
// "None" are skipped. False when the reply is no such document.
bool ParseTextList(const wxString& xml, const wxString& root, const wxString& item,
                   std::vector<wxString>& texts);

struct ServiceEntry {
    wxString ref;
    wxString name;
};

struct ServiceBouquet {
    wxString ref;    // blanks already turned into "%20"
    wxString rawRef; // as the receiver wrote it: the value for a query
    wxString name;
    std::vector<ServiceEntry> services;  // markers included, in reply order
};

// List kinds of getServices.
enum {
    LIST_TV_PROVIDERS = 0,
    LIST_TV_BOUQUETS = 1,
    LIST_RA_PROVIDERS = 2,
    LIST_RA_BOUQUETS = 3,
};

// Request path (for getWebIF) of a list kind; empty for an unknown kind.
wxString ServiceListPath(int kind);
inline bool IsProviderKind(int kind) { return kind == LIST_TV_PROVIDERS || kind == LIST_RA_PROVIDERS; }
// 1 for the TV lists, 2 for the radio lists (also the payload mode of their services).
inline int ServiceListNumber(int kind) { return kind <= LIST_TV_BOUQUETS ? 1 : 2; }
// "tv-provider-<profile>.xml" / "ra-provider-<profile>.xml"; empty for bouquet kinds.
wxString ProviderCacheName(int kind, long profile);

// A separator line inside a bouquet: shown, never played.
bool IsMarkerSRef(const wxString& ref);

// Bouquet references embed a query with blanks; request paths need them as %20.
wxString EscapeBlanks(const wxString& ref);

// Parses a "e2servicelistrecursive" reply; false (and nothing added) when the
// text is not such a document.
bool ParseServiceList(const wxString& xml, std::vector<ServiceBouquet>& bouquets);

// Tree positions: "list.group.bouquet.entry" under a bouquet/provider and
// "list.3.n" in the "Sender" list.
wxString BouquetEntryPosition(int list, int group, int bouquet, int entry);
wxString AllServicesPosition(int list, int number);
// The position up to its last "." followed by ".number".
wxString RenumberedPosition(const wxString& pos, int number);

// Case-sensitive, character-code order of item texts (the "Sender" lists).
// Negative, zero or positive like strcmp.
int CompareServiceNames(const wxString& a, const wxString& b);

// Order of two recordings under GENERAL/SortMode: 0 texts ascending, 1 texts
// descending, 2 older first, 3 newer first (equal times equal), other values
// as 0. Times are decimal seconds since the epoch.
int CompareRecordingItems(const wxString& textA, const wxString& timeA, const wxString& textB,
                          const wxString& timeB, int sortMode);
