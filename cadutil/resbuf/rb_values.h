#pragma once
// Values of result-buffer nodes. A text short enough is kept in the node's own value area, after the text
// pointer, and needs no buffer of the host: kInNodeChars characters and the terminator. Freeing a value
// tells the two apart.
#include <cstddef>

#include "host/db/resbuf.h"

// Characters a text may have to be kept inside its node (the value area after the pointer, terminator
// included); 3 here, where the host's wide characters take 4 bytes.
constexpr std::size_t kInNodeChars = (sizeof(ads_u_val) - sizeof(ACHAR*)) / sizeof(ACHAR) - 1;

// True when the node's value is a text or a binary chunk whose data lie inside the node itself.
bool rbValueInNode(const resbuf* node);
// Frees the node's text or binary value. A text inside the node only loses its pointer; with `release` a
// host buffer is released (a binary chunk's length then becomes 0); without, host buffers are left for
// acutRelRb.
void rbFreeValue(resbuf* node, bool release);

// Set the code (where they take one) and the value, freeing the old value first.
void rbSetString(resbuf* node, int code, const ACHAR* text);
// At most `length` characters (0: the whole text); the copy is always terminated. The code is kept.
void rbSetWideText(resbuf* node, const ACHAR* text, std::size_t length = 0);
void rbSetNarrowText(resbuf* node, const char* text);
void rbSetText(resbuf* node, int code, const char* text);
void rbSetName(resbuf* node, int code, const ads_name name);
void rbSetInt(resbuf* node, int code, Adesk::Int32 value);
void rbSetPoint(resbuf* node, int code, const ads_point point);
void rbSetValue(resbuf* node, int code, double value);
// Copies the code and value of `source` (texts whole, binary chunks into a buffer of their own).
void rbCopy(resbuf* dest, const resbuf* source);
// Copies `size` bytes into a new host buffer as the node's binary value. A size of 0 or less is reported
// and makes a 16-byte zeroed chunk; one over 32,767 bytes (what the length holds) is reported and refused.
// Answers the buffer, or null.
char* allocBinfrom(resbuf* node, const void* data, int size);

// The value of a node of group `code` in a form the plug-in reads directly: for a text a narrowed copy,
// for a binary chunk a copy as a 16-bit length followed by all the data, for any other type the value
// itself; null for a null value. The copies stay valid while the node holds that value; the node is never
// changed.
const void* uval_rbval(int code, const ads_u_val* value);
// Test support: forgets the copies.
void resetValueCopies();
