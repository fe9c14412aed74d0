#include "tests/host/host_test_support.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "host/filing/text_codec.h"

namespace host::test {

TemporaryFile::TemporaryFile(const std::string& suffix) {
    static int serial = 0;
    path = (std::filesystem::temp_directory_path() /
            ("zhost_test_" + std::to_string(getpid()) + "_" + std::to_string(++serial) + suffix))
               .string();
}

TemporaryFile::~TemporaryFile() {
    std::remove(path.c_str());
}

std::wstring TemporaryFile::wide() const {
    return fromUtf8(path);
}

} // namespace host::test
