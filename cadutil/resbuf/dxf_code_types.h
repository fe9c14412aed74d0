#pragma once
// Value type and byte size of each DXF group code, as result buffers carry them.

// Result type of a binary chunk and of the value types beyond the host's result codes.
constexpr int RTBINARY = 5830;
constexpr int RTFLOAT = 5852;

// The type of `code` and, in `size`, the byte size of its value (0: variable). Codes that are result types
// stand for themselves. A code outside the table is reported ("Code DXF %d de type inconnu .. ") and taken
// from the host's table; one the host does not know either is shown in a message box and answers 5000
// (no value), size 0.
int dxfcode_rbtype(int code, int* size = nullptr);

// The same without a message: false for a code neither table knows.
bool dxfCodeType(int code, int& type, int& size);
