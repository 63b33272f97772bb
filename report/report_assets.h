#pragma once

#include <string_view>

namespace towngen {

// The town page's style sheet and script, compiled in from report/.
extern const std::string_view kReportStyle;
extern const std::string_view kReportScript;
// Their hashes as Content-Security-Policy sources: 'sha256-...'.
extern const std::string_view kReportScriptSource;
extern const std::string_view kReportStyleSource;

}  // namespace towngen
