#pragma once
// Compaction of fixed-size records in place.

// Keeps, in order and packed from the start, each of the n records of `size` bytes whose mask byte is
// non-zero. Returns the number kept; 0 for null records or mask.
int CompressArray(int n, int size, void* records, const char* mask);
