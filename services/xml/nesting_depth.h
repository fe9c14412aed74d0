#pragma once
// How deep the elements of an XML text nest, found by a flat scan before the parser sees it: the parser
// recurses once per level, and a document nested deep enough would overflow the stack.
#include <cstddef>

namespace xml_nesting {

// The deepest nesting a document may have; far beyond any settings document.
constexpr int kMostLevels = 4000;

// The start of the first tag that opens a level deeper than `mostLevels`, or null when none does.
// Comments, CDATA sections, declarations and quoted attribute values are passed over; tags left
// unclosed count as open.
const char* tooDeep(const char* text, int mostLevels = kMostLevels);

} // namespace xml_nesting
