# Writes OUTPUT, a C++ source that holds the town page's style sheet and
# script (INPUT_DIR/report.css, INPUT_DIR/report.js) byte for byte, with
# their SHA-256 hashes in base64 for the page's Content-Security-Policy. Run
# with cmake -P at build time.

# The bytes given as hexadecimal digits, in base64: each three bytes make
# four characters, and a last group of one or two bytes is padded with "=".
function(hex_to_base64 hex out_var)
  set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
  string(LENGTH "${hex}" hex_length)
  math(EXPR padding "(6 - ${hex_length} % 6) % 6 / 2")  # bytes the last group lacks
  string(REPEAT "00" ${padding} zeros)
  string(APPEND hex "${zeros}")
  string(LENGTH "${hex}" hex_length)
  set(result "")
  set(at 0)
  while(at LESS hex_length)
    string(SUBSTRING "${hex}" ${at} 6 group)
    math(EXPR value "0x${group}")
    foreach(shift 18 12 6 0)
      math(EXPR index "(${value} >> ${shift}) & 63")
      string(SUBSTRING "${alphabet}" ${index} 1 char)
      string(APPEND result "${char}")
    endforeach()
    math(EXPR at "${at} + 6")
  endwhile()
  string(LENGTH "${result}" length)
  math(EXPR kept "${length} - ${padding}")
  string(SUBSTRING "${result}" 0 ${kept} result)
  string(REPEAT "=" ${padding} equals)
  set(${out_var} "${result}${equals}" PARENT_SCOPE)
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/embed_bytes.cmake)

char_array(kStyle "${INPUT_DIR}/report.css" style)
char_array(kScript "${INPUT_DIR}/report.js" script)
file(SHA256 "${INPUT_DIR}/report.js" script_hash)
hex_to_base64("${script_hash}" script_hash)
file(SHA256 "${INPUT_DIR}/report.css" style_hash)
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
