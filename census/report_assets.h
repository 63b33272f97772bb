#pragma once

#include <string_view>

namespace towngen {

// The town page's style sheet and script, compiled in from census/report/.
extern const std::string_view kReportStyle;
extern const std::string_view kReportScript;
// The script's hash as a Content-Security-Policy source: 'sha256-...'.
extern const std::string_view kReportScriptSource;

}  // namespace towngen
