// The trace file an instance of DOS carries.
#include "services/dos/dos.h"
#include "services/output/output.h"
#include "services/output/wide_format.h"
#include "services/str/str.h"

#include <cstdarg>
#include <string>

namespace {

constexpr size_t kTraceRecord = 512;

// The last owner of a trace file writes the closing line before closing it.
void closeTrace(std::FILE* file) {
    static const char closing[] = "\nDOS::trace (STPRINT) FERMETURE\n";
    std::fputs(closing, file);
    mprint(closing, 0);
    std::fclose(file);
}

} // namespace

DOS::DOS(std::FILE* traceFile) {
    if (traceFile) m_trace.reset(traceFile, closeTrace);
}

int DOS::trace(const char* format, ...) {
    if (!m_trace || !format) return 0;
    char record[kTraceRecord];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(record, sizeof record, format, arguments);
    va_end(arguments);
    const int written = std::fputs(record, m_trace.get()) >= 0 ? 1 : 0;
    mprint(record, 0);
    std::fflush(m_trace.get());
    return written;
}

int DOS::trace(const wchar_t* format, ...) {
    if (!m_trace || !format) return 0;
    va_list arguments;
    va_start(arguments, format);
    // Windows meanings of the conversions; a record that does not fit keeps what fits, as on Windows.
    std::wstring record = services::formatWide(format, arguments);
    va_end(arguments);
    if (record.size() >= kTraceRecord) record.resize(kTraceRecord - 1);
    const int written = std::fputs(STR::WideToChar(record.c_str()), m_trace.get()) >= 0 ? 1 : 0;
    std::fflush(m_trace.get());
    return written;
}
