#pragma once
// Runs an oracle script of this folder with the system's Python (which has the outside libraries the
// oracles need) and hands back its output as rows of numbers.
#include <string>
#include <vector>

namespace oracle {

using Row = std::vector<double>;

// Rows of whitespace-separated numbers printed by `script` (a file of tests/oracle/) run with `arguments`.
// Fails the current test, and answers no rows, when the script cannot run or prints anything else.
std::vector<Row> runPythonOracle(const std::string& script, const std::string& arguments);

} // namespace oracle
