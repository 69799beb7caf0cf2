// The XML files the system writes (the model export, the favorites): UTF-8 with a byte order
// mark, a declaration, tab indentation and CR LF line ends, as a file written in text mode
// holds them.
#pragma once

#include <pugixml.hpp>

#include <functional>
#include <string_view>

namespace kestrova {

// Writes `document` in that form; `write` receives the bytes in pieces, in order.
void WriteXmlDocument(const pugi::xml_document& document,
                      const std::function<void(std::string_view)>& write);

// Appends an attribute with the UTF-16 text converted to UTF-8 (an empty text too).
void SetXmlAttribute(pugi::xml_node element, const char* name, std::u16string_view value);

}  // namespace kestrova
