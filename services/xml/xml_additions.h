#pragma once
// Additions to the TinyXML document classes for simple settings-like documents: a child element's text read
// as text, integer or real; a child's text created or replaced; an attribute set from a formatted real; a
// document parsed from a buffer with its line ends normalised.
//
// TinyXML's classes cannot take members of ours, so these are free functions over them. Numbers are read
// and formatted without the locale. The formatting functions share one process-wide buffer and are not
// safe to call from several threads at once.
#include <tinyxml.h>

// The first child element named `name`, or null.
const TiXmlElement* GetChildElement(const TiXmlNode& node, const char* name);
// The same; when that element's first child is a text node, `value` becomes the text's leading integer or
// real (no number: 0); otherwise `value` is left as it was.
const TiXmlElement* GetChildElement(const TiXmlNode& node, const char* name, int& value);
const TiXmlElement* GetChildElement(const TiXmlNode& node, const char* name, double& value);

// Sets the text of the child element `name` (created as the last child when missing): a leading text node
// is replaced in place, else a text node is appended. Answers the text node; null for a null name or text.
TiXmlText* UpdateChildElement(TiXmlNode& node, const char* name, const char* text);
// The text is `x` printed with the printf-style `format` (one floating-point conversion).
TiXmlText* UpdateChildElement(TiXmlNode& node, const char* name, const char* format, double x);
TiXmlText* UpdateChildElement(TiXmlNode& node, const char* name, int n);

// Finds or creates the attribute `name` and sets it to `x` printed with the printf-style `format`.
void SetAttribute(TiXmlElement& element, const char* name, const char* format, double x);

// Turns every "\r\n" and lone "\r" of the zero-terminated `buffer` into "\n" in place, then parses it; a
// text that is not UTF-8 is parsed byte by byte (TIXML_ENCODING_LEGACY) whatever `encoding` says.
// True when the document has no error; false for a null buffer. A document nested deeper than
// xml_nesting::kMostLevels is refused before parsing, as an element the parser could not read; one whose
// XML declaration is malformed or misplaced is refused as a declaration the parser could not read.
bool LoadFromBuffer(TiXmlDocument& document, char* buffer, TiXmlEncoding encoding = TIXML_DEFAULT_ENCODING);
