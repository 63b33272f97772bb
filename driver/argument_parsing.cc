#include "driver/argument_parsing.h"

namespace towngen {

std::optional<int> parseArguments(CLI::App& app, const std::vector<std::string>& arguments,
                                  const OptionsCheck& check, std::ostream& out, std::ostream& err) {
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    app.parse(reversed);
    if (const std::optional<std::string> problem = check()) throw CLI::ValidationError(*problem);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return 0;
  } catch (const CLI::CallForVersion& version) {
    out << version.what() << "\n";
    return 0;
  } catch (const CLI::ParseError& problem) {
    err << app.get_name() << ": " << problem.what() << "\nTry '" << app.get_name()
        << " --help' for more information.\n";
    return 2;
  }
  return std::nullopt;
}

}  // namespace towngen
