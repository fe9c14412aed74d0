#include "host/db/build_list.h"

namespace host {

namespace {

// The kind of value an argument of `type` brings; RTNONE for none, 0 for an unknown type.
short argumentKind(int type) {
    switch (type) {
    case RTLB:
    case RTLE:
    case RTDOTE:
    case RTT:
    case RTNIL:
    case RTVOID:
        return RTNONE;
    case RTPOINT:
        return RT3DPOINT;
    case RTPICKS:
        return RTENAME;
    default:
        break;
    }
    short kind = resbufValueType(type);
    return kind == RTNONE || kind == kRtBinaryChunk || kind == RTINT64 ? 0 : kind;
}

} // namespace

resbuf* buildList(int first, va_list args) {
    resbuf* head = nullptr;
    resbuf** tail = &head;
    for (int type = first; type != 0 && type != RTNONE; type = va_arg(args, int)) {
        short kind = argumentKind(type);
        if (kind == 0) {
            acutRelRb(head);
            return nullptr;
        }
        resbuf* rb = acutNewRb(type);
        switch (kind) {
        case RTSTR: {
            const ACHAR* text = va_arg(args, const ACHAR*);
            rb->resval.rstring = acutNewString(text ? text : L"");
            break;
        }
        case RTREAL:
            rb->resval.rreal = va_arg(args, double);
            break;
        case RTSHORT:
            rb->resval.rint = static_cast<short>(va_arg(args, int));
            break;
        case RTLONG:
            rb->resval.rlong = va_arg(args, int);
            break;
        case RT3DPOINT: {
            const ads_real* p = va_arg(args, const ads_real*);
            for (int i = 0; i < 3; ++i)
                rb->resval.rpoint[i] = type == RTPOINT && i == 2 ? 0.0 : p[i];
            break;
        }
        case RTENAME: {
            const Adesk::Int64* name = va_arg(args, const Adesk::Int64*);
            rb->resval.rlname[0] = name[0];
            rb->resval.rlname[1] = name[1];
            break;
        }
        default:
            break;
        }
        *tail = rb;
        tail = &rb->rbnext;
    }
    return head;
}

} // namespace host

resbuf* acutBuildList(int rtype, ...) {
    va_list args;
    va_start(args, rtype);
    resbuf* chain = host::buildList(rtype, args);
    va_end(args);
    return chain;
}
