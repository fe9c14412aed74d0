#include "cadutil/resbuf/rb_dump.h"

#include <cstring>
#include <string>

#include "cadutil/command_line/print.h"
#include "cadutil/resbuf/dxf_code_types.h"

int rbDump(const resbuf* node) {
    int code = node->restype;
    int type = RTNONE, size = 0;
    dxfCodeType(code, type, size);
    const ads_u_val& v = node->resval;
    switch (type) {
    case RTREAL:
    case RTANG:
    case RTORINT:
        g_printHook("\nRTREAL  code = %4d  val=%12.4f", code, v.rreal);
        break;
    case RTPOINT:
        g_printHook("\nRTPOINT code = %4d  val=%12.4f %12.4f %10.4f", code, v.rpoint[0], v.rpoint[1],
                    v.rpoint[2]);
        break;
    case RTSHORT:
        g_printHook("\nRTSHORT code = %4d  val=%8d", code, static_cast<int>(v.rint));
        break;
    case RTLONG:
        g_printHook("\nRTSHORT code = %4d  val=%8d", code, static_cast<int>(v.rlong));
        break;
    case RTSTR: {
        // A narrowed copy: dumping never changes the chain. A handle is shown with its first 9 characters.
        std::string text;
        for (const ACHAR* p = v.rstring; p && *p; ++p)
            text += static_cast<char>(*p & 0xff);
        if (code == 5 && text.size() > 9) text.resize(9);
        g_printHook("\nRTSTR code = %4d  val=\"%s\"", code, text.c_str());
        break;
    }
    case RTENAME:
        g_printHook("\nRTENAME code = %4d  val=%p / %p ", code, reinterpret_cast<void*>(v.rlname[0]),
                    reinterpret_cast<void*>(v.rlname[1]));
        break;
    case RT3DPOINT:
        g_printHook("\nRT3DPOINT code = %4d  val=%12.4f %12.4f %10.4f", code, v.rpoint[0], v.rpoint[1],
                    v.rpoint[2]);
        break;
    case RTLB:
        g_printHook("\nRTLB code = %4d  val=%8d", code, static_cast<int>(v.rint));
        break;
    case RTLE:
        g_printHook("\nRTLE code = %4d  val=%8d", code, static_cast<int>(v.rint));
        break;
    case RTDOTE:
        g_printHook("\nRTDOTE code = %4d  val=%8d", code, static_cast<int>(v.rint));
        break;
    case RTBINARY:
        g_printHook("\nRTBIN   code = %4d  val=%8d", code, static_cast<int>(v.rbinary.clen));
        break;
    case RTFLOAT: {
        // A 32-bit float in the first bytes of the value: shown as the real it is.
        float f;
        std::memcpy(&f, &v, sizeof f);
        g_printHook("\nRTFLOAT code = %4d  val=%12.4f", code, static_cast<double>(f));
        break;
    }
    default:
        g_printHook("\n**INCONNU** code = %4d ", code);
        break;
    }
    return 1;
}
