#include "services/output/log_file.h"

#include "platform/files/path_map.h"
#include "services/output/output.h"
#include "services/output/output_lock.h"
#include "services/output/output_routing.h"

#include <cstdarg>
#include <cstring>
#include <string>

FILE* g_FileLF = nullptr;

namespace {

// The name with the extension of its last component replaced by ".Log".
std::string logFileName(const char* name) {
    std::string file(name);
    const std::size_t component = file.find_last_of("\\/") + 1;
    if (const std::size_t dot = file.rfind('.'); dot != std::string::npos && dot >= component)
        file.erase(dot);
    return file + ".Log";
}

void writeToLog(const char* text, std::size_t length) {
    if (!g_FileLF) return;
    std::fwrite(text, 1, length, g_FileLF);
    std::fflush(g_FileLF); // a task that dies keeps its log
}

} // namespace

FILE* OpenLF(const char* name) {
    if (!name || !name[0]) return nullptr;
    CloseLF();
    g_FileLF = std::fopen(platform::hostPath(logFileName(name)).c_str(), "a+");
    return g_FileLF;
}

void CloseLF() {
    if (g_FileLF) std::fclose(g_FileLF);
    g_FileLF = nullptr;
}

int mprintLF(const char* text, int length) {
    if (!text) return 0;
    const std::size_t count = length > 0 ? static_cast<std::size_t>(length) : std::strlen(text);
    writeToLog(text, count);
    return mprint(text, static_cast<long>(count));
}

int mprintfLF(const char* format, ...) {
    const auto lock = services::lockOutput();
    if (!format || (!g_FileLF && !services::wouldShow(format[0] == '$'))) return 0;
    va_list arguments;
    va_start(arguments, format);
    const char* text = services::formatIntoOutputBuffer(format, arguments);
    va_end(arguments);
    writeToLog(text, std::strlen(text));
    return mprint(text, 0);
}

CPrintToLogFile::CPrintToLogFile(const char* name) : previous_(g_FileLF) {
    if (g_FileLF) std::fflush(g_FileLF);
    g_FileLF = nullptr; // set aside, so that OpenLF does not close it
    OpenLF(name);
}

CPrintToLogFile::~CPrintToLogFile() {
    // Only OpenLF and CloseLF close log files, and only the current one: the scope's own file is still open
    // exactly when it is still current. Another file opened meanwhile is closed with the scope.
    CloseLF();
    g_FileLF = previous_;
}
