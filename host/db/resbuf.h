#pragma once
// Result buffers: the host's linked lists of typed values (LISP arguments and results, entity lists,
// extended data, xrecords, selection filters), with the result codes of prompts and LISP calls.
#include <cstddef>

#include "host/db/acdb.h"
#include "host/rx/adesk.h"

using ads_real = double;
using ads_point = ads_real[3];
using ads_name = Adesk::Int64[2];
using ads_namep = Adesk::Int64*;

struct ads_binary {
    short clen;
    char* buf;
};

union ads_u_val {
    ads_real rreal;
    ads_real rpoint[3];
    short rint;
    ACHAR* rstring;
    Adesk::Int64 rlname[2];
    Adesk::Int32 rlong;
    Adesk::Int64 mnInt64;
    ads_binary rbinary;
    unsigned char ihandle[8];
};

struct resbuf {
    resbuf* rbnext;
    short restype;
    ads_u_val resval;
};
static_assert(sizeof(ads_u_val) == 24);
static_assert(offsetof(resbuf, resval) == 16);

// Result codes and value types.
enum {
    RTNONE = 5000,
    RTREAL = 5001,
    RTPOINT = 5002,
    RTSHORT = 5003,
    RTANG = 5004,
    RTSTR = 5005,
    RTENAME = 5006,
    RTPICKS = 5007,
    RTORINT = 5008,
    RT3DPOINT = 5009,
    RTLONG = 5010,
    RTVOID = 5014,
    RTLB = 5016,
    RTLE = 5017,
    RTDOTE = 5018,
    RTNIL = 5019,
    RTDXF0 = 5020,
    RTT = 5021,
    RTRESBUF = 5023,
    RTMODELESS = 5027,
    RTINT64 = 5031,
    RTNORM = 5100,
    RTERROR = -5001,
    RTCAN = -5002,
    RTREJ = -5003,
    RTFAIL = -5004,
    RTKWORD = -5005,
    RSRSLT = 1,
    RSERR = 3,
};

// Value type of a group code; 5830 is the binary chunk of result buffers.
constexpr short kRtBinaryChunk = 5830;

resbuf* acutNewRb(int type);
// Frees the chain, including the text and binary values its nodes own.
int acutRelRb(resbuf* rb);
void acutNewBuffer(void*& buffer, std::size_t size);
void acutDelBuffer(void*& buffer);
// A copy of a wide text allocated with acutNewBuffer.
ACHAR* acutNewString(const ACHAR* text);
void acutDelString(ACHAR*& text);

AcDb::DwgDataType acdbGroupCodeToType(int code);

namespace host {
// The resbuf value type a group code or result code carries: RTREAL, RT3DPOINT, RTSHORT, RTLONG, RTINT64,
// RTSTR, RTENAME, kRtBinaryChunk or RTNONE.
short resbufValueType(int code);
// A deep copy of a chain.
resbuf* copyResbufChain(const resbuf* rb);
} // namespace host
