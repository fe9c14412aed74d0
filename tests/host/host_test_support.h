#pragma once
// Helpers shared by the host's tests.
#include <cstdint>
#include <memory>
#include <string>

#include "host/db/database.h"
#include "host/db/resbuf.h"

namespace host::test {

// A database with the default drawing that is the working database for the test's lifetime.
struct WorkingDatabase {
    WorkingDatabase() : db(std::make_unique<AcDbDatabase>()) {
        acdbHostApplicationServices()->setWorkingDatabase(db.get());
    }
    ~WorkingDatabase() { acdbHostApplicationServices()->setWorkingDatabase(nullptr); }
    std::unique_ptr<AcDbDatabase> db;
};

// Owner of a result-buffer chain.
struct Chain {
    explicit Chain(resbuf* head = nullptr) : rb(head) {}
    ~Chain() { acutRelRb(rb); }
    Chain(const Chain&) = delete;
    Chain& operator=(const Chain&) = delete;
    resbuf* rb;
};

// A small deterministic generator (xorshift), so mutation tests are the same on every run.
struct Random {
    explicit Random(std::uint64_t seed) : state(seed) {}
    std::size_t below(std::size_t bound) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<std::size_t>(state % bound);
    }
    std::uint64_t state;
};

// A temporary file name in the test's own folder, removed at the end.
struct TemporaryFile {
    explicit TemporaryFile(const std::string& suffix);
    ~TemporaryFile();
    std::wstring wide() const;
    std::string path;
};

} // namespace host::test
