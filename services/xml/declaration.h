#pragma once
// The XML declaration as XML allows it: first in the document, "<?xml" then a version, an optional encoding
// and standalone, and "?>". The parser takes any "<?xml..." anywhere for a declaration and reads it up to the
// next ">", so a malformed one swallows the markup after it and prints back as a document that does not
// parse.
#include <tinyxml.h>

namespace xml_declaration {

// True when the parsed `document` has no declaration, or one only, as its first node, written in `text`
// (the text it was parsed from) as the XML grammar allows.
bool wellFormed(const TiXmlDocument& document, const char* text);

} // namespace xml_declaration
