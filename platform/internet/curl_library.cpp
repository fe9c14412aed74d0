// Opening libcurl by name and resolving the functions the HTTP client calls.
#include "platform/internet/curl_library.h"

#include <dlfcn.h>

namespace platform::internet {

namespace {

constexpr char kLibraryName[] = "libcurl.so.4";

class LoadedCurl {
public:
    LoadedCurl() {
        // Kept to the end of the process: the TLS stack under it cannot be unloaded safely.
        void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            const char* why = dlerror();
            missing_ = std::string(kLibraryName) + " introuvable : " + (why ? why : "");
            return;
        }
        CurlFunctions& f = functions_;
        const bool resolved =
            resolve(library, "curl_global_init", f.global_init) &&
            resolve(library, "curl_global_cleanup", f.global_cleanup) &&
            resolve(library, "curl_easy_init", f.easy_init) &&
            resolve(library, "curl_easy_cleanup", f.easy_cleanup) &&
            resolve(library, "curl_easy_reset", f.easy_reset) &&
            resolve(library, "curl_easy_setopt", f.easy_setopt) &&
            resolve(library, "curl_easy_perform", f.easy_perform) &&
            resolve(library, "curl_easy_getinfo", f.easy_getinfo) &&
            resolve(library, "curl_easy_strerror", f.easy_strerror) &&
            resolve(library, "curl_slist_append", f.slist_append) &&
            resolve(library, "curl_slist_free_all", f.slist_free_all) &&
            resolve(library, "curl_url", f.url) && resolve(library, "curl_url_set", f.url_set) &&
            resolve(library, "curl_url_get", f.url_get) &&
            resolve(library, "curl_url_cleanup", f.url_cleanup) && resolve(library, "curl_free", f.free);
        if (!resolved) return;
        const CURLcode setUp = f.global_init(CURL_GLOBAL_DEFAULT);
        if (setUp != CURLE_OK) {
            missing_ = std::string(kLibraryName) + " ne d\xe9marre pas : " + f.easy_strerror(setUp);
            return;
        }
        ready_ = true;
    }
    ~LoadedCurl() {
        if (ready_) functions_.global_cleanup();
    }
    LoadedCurl(const LoadedCurl&) = delete;
    LoadedCurl& operator=(const LoadedCurl&) = delete;

    const CurlFunctions* functions() const { return ready_ ? &functions_ : nullptr; }
    const std::string& missing() const { return missing_; }

private:
    template <typename Function> bool resolve(void* library, const char* name, Function& function) {
        function = reinterpret_cast<Function>(dlsym(library, name));
        if (!function) missing_ = std::string(name) + " introuvable dans " + kLibraryName;
        return function != nullptr;
    }

    CurlFunctions functions_{};
    std::string missing_;
    bool ready_ = false;
};

// Made at the first call, once whichever thread asks first.
const LoadedCurl& loadedCurl() {
    static const LoadedCurl loaded;
    return loaded;
}

} // namespace

const CurlFunctions* curlLibrary() {
    return loadedCurl().functions();
}

const std::string& curlMissingText() {
    return loadedCurl().missing();
}

} // namespace platform::internet
