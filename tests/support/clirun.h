#pragma once
// Runs zelvano-cli in the test's own process, with no input, and keeps what
// it printed.
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace zel::test {

struct CliResult {
  int code;
  std::string out;
  std::string err;
};

inline CliResult runCli(const std::vector<std::string>& args) {
  std::istringstream in;
  std::ostringstream out, err;
  const int code = cli::run(args, in, out, err);
  return {code, out.str(), err.str()};
}

}  // namespace zel::test
