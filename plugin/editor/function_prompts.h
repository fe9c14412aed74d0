#pragma once
// The prompts of the function keywords: which attributes a re-take copies, and the extended-data editor.
class AcDbObject;

// Bits of the re-take mask.
namespace retake {
constexpr int kCode = 0x1;
constexpr int kFlags = 0x2;
constexpr int kWidth = 0x4;
constexpr int kHeight = 0x8;
constexpr int kBlocked = 0x10;
} // namespace retake

// Asks which attributes a re-take copies, starting from the process-wide mask: letters add ("+") or remove
// ("-") parts, "*" takes all, the "nothing" letter none, an empty answer keeps the mask. "M" sets the memo
// bit of the pending attributes, its absence clears it. The new mask.
int askRetakeMask();
// Edits the object's extended data of `application` (null: "ZORTA") by a text: "?" lists, "-" erases all,
// "NAME=value" replaces the record of that name, "NAME=" removes it. 1 done, 0 without "=", -1 without text.
int editXData(AcDbObject* object, const char* text, const char* application);
