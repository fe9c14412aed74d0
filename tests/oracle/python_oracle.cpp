#include "tests/oracle/python_oracle.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdio>
#include <memory>
#include <string_view>

namespace oracle {

namespace {

bool parseRow(std::string_view line, Row& row) {
    const char* p = line.data();
    const char* end = p + line.size();
    while (p < end) {
        while (p < end && (*p == ' ' || *p == '\t'))
            ++p;
        if (p == end) break;
        double value = 0;
        const auto [next, error] = std::from_chars(p, end, value);
        if (error != std::errc()) return false;
        row.push_back(value);
        p = next;
    }
    return !row.empty();
}

} // namespace

std::vector<Row> runPythonOracle(const std::string& script, const std::string& arguments) {
    const std::string command = "/usr/bin/python3 " ZORTA_ORACLE_DIR "/" + script + " " + arguments;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::vector<Row> rows;
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return rows;
    }
    std::string line;
    for (int c; (c = std::fgetc(pipe.get())) != EOF;) {
        if (c != '\n') {
            line.push_back(static_cast<char>(c));
            continue;
        }
        Row row;
        if (!parseRow(line, row)) {
            ADD_FAILURE() << script << " printed: " << line;
            return {};
        }
        rows.push_back(std::move(row));
        line.clear();
    }
    const int status = pclose(pipe.release());
    if (status != 0) {
        ADD_FAILURE() << command << " ended with status " << status;
        return {};
    }
    return rows;
}

} // namespace oracle
