#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace towngen {

// A check of the options that the parser cannot make; it returns a usage
// problem, or nothing.
using OptionsCheck = std::function<std::optional<std::string>()>;

// Parses `arguments` (without the program's name) into `app`'s options, then
// runs `check`. Returns the exit status when the program is done: 0 after
// --help or --version, written to `out`; 2 after a usage error, written to
// `err` as "NAME: problem" and a hint, NAME being the app's name. Returns
// nothing when the program is to go on.
std::optional<int> parseArguments(CLI::App& app, const std::vector<std::string>& arguments,
                                  const OptionsCheck& check, std::ostream& out, std::ostream& err);

}  // namespace towngen
