#include "host/editor/find_file.h"

#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <system_error>
#include <vector>

#include "host/db/database.h"
#include "host/db/resbuf.h"
#include "host/editor/documents.h"
#include "host/filing/text_codec.h"

namespace {

namespace fs = std::filesystem;

// `name` inside `folder`, each part matched without regard to case; empty when absent.
fs::path lookUp(const fs::path& folder, const std::wstring& name) {
    fs::path here = folder;
    std::wstring rest = name;
    for (wchar_t& c : rest)
        if (c == L'\\') c = L'/';
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t slash = rest.find(L'/', start);
        std::wstring part =
            rest.substr(start, slash == std::wstring::npos ? std::wstring::npos : slash - start);
        start = slash == std::wstring::npos ? rest.size() + 1 : slash + 1;
        if (part.empty()) continue;
        std::error_code ec;
        fs::path exact = here / host::toUtf8(part);
        if (fs::exists(exact, ec)) {
            here = exact;
            continue;
        }
        bool found = false;
        for (const fs::directory_entry& e : fs::directory_iterator(here, ec)) {
            if (host::sameSymbolName(host::fromUtf8(e.path().filename().string()), part)) {
                here = e.path();
                found = true;
                break;
            }
        }
        if (!found) return {};
    }
    return here;
}

std::vector<fs::path> supportFolders() {
    std::vector<fs::path> folders{fs::current_path()};
    if (AcApDocument* doc = curDoc(); doc && doc->fileName()[0])
        folders.push_back(fs::path(host::toUtf8(doc->fileName())).parent_path());
    if (const char* list = std::getenv("ZHOST_SUPPORT")) {
        std::string all = list;
        std::size_t start = 0;
        while (start <= all.size()) {
            std::size_t colon = all.find(':', start);
            std::string folder =
                all.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
            if (!folder.empty()) folders.emplace_back(folder);
            if (colon == std::string::npos) break;
            start = colon + 1;
        }
    }
    return folders;
}

} // namespace

int acedFindFile(const ACHAR* fileName, ACHAR* result, std::size_t size) {
    if (!fileName || !*fileName || !result) return RTERROR;
    std::wstring name = fileName;
    std::vector<fs::path> folders;
    if (name[0] == L'/' || name[0] == L'\\')
        folders.emplace_back("/");
    else
        folders = supportFolders();
    for (const fs::path& folder : folders) {
        fs::path found = lookUp(folder, name);
        std::error_code ec;
        if (found.empty() || !fs::is_regular_file(found, ec)) continue;
        std::wstring full = host::fromUtf8(found.string());
        if (full.size() >= size) return RTERROR;
        std::wmemcpy(result, full.c_str(), full.size() + 1);
        return RTNORM;
    }
    return RTERROR;
}
