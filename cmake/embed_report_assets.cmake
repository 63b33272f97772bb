# Writes OUTPUT, a C++ source that holds the town page's style sheet and
# script (STYLE, and SCRIPT as joined from report/page/) byte for byte, with
# their SHA-256 hashes in base64 for the page's Content-Security-Policy. Run
# with cmake -P at build time.

include(${CMAKE_CURRENT_LIST_DIR}/hex_to_base64.cmake)

include(${CMAKE_CURRENT_LIST_DIR}/embed_bytes.cmake)

char_array(kStyle "${STYLE}" style)
char_array(kScript "${SCRIPT}" script)
file(SHA256 "${SCRIPT}" script_hash)
hex_to_base64("${script_hash}" script_hash)
file(SHA256 "${STYLE}" style_hash)
hex_to_base64("${style_hash}" style_hash)

file(WRITE "${OUTPUT}.new" "// Generated from report/ by cmake/embed_report_assets.cmake.

#include <cstddef>

#include \"report/report_assets.h\"

namespace towngen {
namespace {

${style}
${script}
}  // namespace

const std::string_view kReportStyle(kStyle, kStyleSize);
const std::string_view kReportScript(kScript, kScriptSize);
const std::string_view kReportScriptSource = \"'sha256-${script_hash}'\";
const std::string_view kReportStyleSource = \"'sha256-${style_hash}'\";

}  // namespace towngen
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
