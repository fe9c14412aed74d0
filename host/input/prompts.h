#pragma once
// The prompts of the command line. acedInitGet sets the input restrictions and keywords of the next prompt
// only. A prompt answers RTNORM with a value, RTNONE for Enter, RTCAN for a cancel (an empty input queue
// too), RTKWORD for a keyword or, where other input is allowed, for any other text (read it with
// acedGetInput). Invalid input is refused with a message and the prompt is shown again. Points are in user
// coordinates.
#include <cstddef>
#include <string>

#include "host/db/resbuf.h"
#include "host/input/keywords.h"
#include "host/rx/ac_string.h"

// Input restrictions of acedInitGet.
enum {
    RSG_NONULL = 0x0001,
    RSG_NOZERO = 0x0002,
    RSG_NONEG = 0x0004,
    RSG_NOLIM = 0x0008,
    RSG_GETZ = 0x0010,
    RSG_DASH = 0x0020,
    RSG_2D = 0x0040,
    RSG_OTHER = 0x0080,
    RSG_DDISTFIRST = 0x0100,
    RSG_TRACKUCS = 0x0200,
    RSG_NOORTHOZ = 0x0400,
    RSG_NOOSNAP = 0x0800,
    RSG_NODDIST = 0x1000,
};

// RTERROR, with a message, for a malformed keyword list.
int acedInitGet(int flags, const ACHAR* keywords);

int acedGetPoint(const ads_point base, const ACHAR* prompt, ads_point result);
int acedGetReal(const ACHAR* prompt, ads_real* result);
int acedGetInt(const ACHAR* prompt, int* result);
// The global form of the keyword chosen; with RSG_OTHER any text.
int acedGetKword(const ACHAR* prompt, ACHAR* result, std::size_t size);
// `blanks` non-zero: blanks belong to the text and only Enter ends it. Enter gives the empty text. The three
// forms differ in where the text goes: a buffer of `size` characters with its terminator (a longer answer
// is refused and asked again; RTERROR without a buffer), an AcString of any length (2019 and later), a
// buffer through acedGetFullString (2017 and 2018).
int acedGetString(int blanks, const ACHAR* prompt, ACHAR* result, std::size_t size);
int acedGetString(int blanks, const ACHAR* prompt, AcString& result);
int acedGetFullString(int blanks, const ACHAR* prompt, ACHAR* result, int size);
// The keyword (global form) or the other text of the last prompt that answered RTKWORD.
int acedGetInput(ACHAR* result, std::size_t size);

namespace host {

// The restrictions set for the next prompt, consumed: prompts and drags call it once.
InitGet takeInitGet();
// The keyword or text that the next acedGetInput answers.
void setLastInput(const std::wstring& text);
void resetPrompts();

} // namespace host
