// A reply laid out the way some firmware writes it: every element text on a
// line of its own, indented.
#pragma once

#include <string>
#include <wx/string.h>

inline wxString Padded(const wxString& xml)
{
    const std::string in(xml.utf8_str());
    std::string out;
    size_t i = 0;
    while (i < in.size()) {
        const size_t open = in.find('<', i);
        const std::string text = in.substr(i, open == std::string::npos ? std::string::npos : open - i);
        if (!out.empty() && out.back() == '>' && text.find_first_not_of(" \t\r\n") != std::string::npos)
            out += "\r\n\t\t" + text + "\n\t";
        else
            out += text;
        if (open == std::string::npos)
            break;
        const size_t close = in.find('>', open);
        out += in.substr(open, close == std::string::npos ? std::string::npos : close + 1 - open);
        i = close == std::string::npos ? in.size() : close + 1;
    }
    return wxString::FromUTF8(out.c_str());
}
