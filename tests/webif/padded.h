// A reply laid out the way some firmware writes it: every element text on a
// line of its own, indented.
#pragma once

#include <regex>
#include <string>
#include <wx/string.h>

inline wxString Padded(const wxString& xml)
{
    static const std::regex text(">([^<>]*[^<>\\s][^<>]*)<");
    return wxString::FromUTF8(std::regex_replace(std::string(xml.utf8_str()), text, ">\r\n\t\t$1\n\t<").c_str());
}
