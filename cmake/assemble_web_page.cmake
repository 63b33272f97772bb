cmake_minimum_required(VERSION 3.25)
# Writes OUTPUT, towngen.html: the page (SOURCE_DIR/web/towngen.html) with its
# style, its script and its worker inline, the worker carrying the engine
# (ENGINE, the module's script, and WASM, its WebAssembly, in base64, handed
# to the module so that it fetches nothing), and the engine's vocabulary
# (VOCABULARY, JSON) as a data block; and FFLATE, the zip library's script,
# which the worker uses to zip a town's notes. The Content-Security-Policy
# lets in exactly these by their SHA-256 hashes, and the town page's script
# and style too, since the town page shown in its frame inherits the policy.
# Run with cmake -P at build time.

include(${CMAKE_CURRENT_LIST_DIR}/hex_to_base64.cmake)

function(hash_source file out_var)
  file(SHA256 "${file}" hex)
  hex_to_base64("${hex}" base64)
  set(${out_var} "'sha256-${base64}'" PARENT_SCOPE)
endfunction()

set(page_script "${SOURCE_DIR}/web/towngen.js")
set(page_style "${SOURCE_DIR}/web/towngen.css")
set(report_script "${REPORT_SCRIPT}")
set(report_style "${SOURCE_DIR}/report/report.css")
hash_source("${page_script}" page_script_hash)
hash_source("${page_style}" page_style_hash)
hash_source("${report_script}" report_script_hash)
hash_source("${report_style}" report_style_hash)

file(READ "${ENGINE}" engine)
file(READ "${SOURCE_DIR}/web/worker.js" worker)
file(READ "${FFLATE}" fflate)
execute_process(COMMAND base64 -w0 "${WASM}" OUTPUT_VARIABLE wasm RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot turn ${WASM} into base64")
endif()
set(worker "const TOWNGEN_WASM = '${wasm}';\n${engine}\n${fflate}\n${worker}")
string(TOLOWER "${worker}" lowered)
string(FIND "${lowered}" "</script" closing)
if(NOT closing EQUAL -1)
  message(FATAL_ERROR "the worker's source holds </script and cannot stand in the page")
endif()

set(csp "default-src 'none'; script-src ${page_script_hash} ${report_script_hash} 'wasm-unsafe-eval'; \
style-src ${page_style_hash} ${report_style_hash}; worker-src blob:; frame-src blob:; \
base-uri 'none'; form-action 'none'")

# The engine's vocabulary, JSON whose < > & are escaped: it cannot end its element.
file(READ "${VOCABULARY}" vocabulary)

file(READ "${SOURCE_DIR}/web/towngen.html" page)
file(READ "${report_style}" report_css)
file(READ "${page_style}" page_css)
file(READ "${page_script}" page_js)
string(REPLACE "@CSP@" "${csp}" page "${page}")
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
string(REPLACE "@REPORT_STYLE@" "${report_css}" page "${page}")
string(REPLACE "@APP_STYLE@" "${page_css}" page "${page}")
string(REPLACE "@APP_SCRIPT@" "${page_js}" page "${page}")
string(REPLACE "@WORKER_SOURCE@" "${worker}" page "${page}")
string(REPLACE "@VOCABULARY@" "${vocabulary}" page "${page}")
file(WRITE "${OUTPUT}.new" "${page}")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
