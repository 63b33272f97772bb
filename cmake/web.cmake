# towngen in the browser, built by Debian's emscripten (the `web` preset): the
# engine, the census and the page as a WebAssembly module (towngen_engine.js
# and .wasm), and towngen.html, one file that holds the module, its worker,
# the page's script and style.
add_executable(towngen_engine web/engine.cc)
target_link_libraries(towngen_engine PRIVATE towngen_town towngen_report)
target_link_options(towngen_engine PRIVATE
  -sMODULARIZE=1 -sEXPORT_NAME=createTowngenEngine -sENVIRONMENT=web,worker,node
  -sALLOW_MEMORY_GROWTH=1 -sMAXIMUM_MEMORY=2GB -sINITIAL_MEMORY=256MB -sDYNAMIC_EXECUTION=0
  -sFILESYSTEM=0
  "-sEXPORTED_FUNCTIONS=['_malloc','_free']"
  "-sEXPORTED_RUNTIME_METHODS=['HEAPU8','UTF8ToString']")
set_target_properties(towngen_engine PROPERTIES SUFFIX ".js")

find_program(TOWNGEN_NODE node REQUIRED)
# The engine's vocabulary, asked of the engine itself under Node.js.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/vocabulary.json
  COMMAND ${TOWNGEN_NODE} ${PROJECT_SOURCE_DIR}/web/vocabulary.mjs
    --engine $<TARGET_FILE:towngen_engine> --output ${CMAKE_BINARY_DIR}/vocabulary.json
  DEPENDS towngen_engine web/vocabulary.mjs
  COMMENT "Asking the engine for the words and limits the page shares")

# fflate (npm, installed by ./check into web/) zips a town's notes in the
# worker.
set(TOWNGEN_FFLATE ${PROJECT_SOURCE_DIR}/web/node_modules/fflate/umd/index.js)
if(NOT EXISTS ${TOWNGEN_FFLATE})
  message(FATAL_ERROR "towngen.html needs fflate: run npm ci in web/ (./check does)")
endif()

set(towngen_web_sources web/towngen.html web/towngen.js web/towngen.css web/worker.js
  report/report.css)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/towngen.html
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
    -DENGINE=$<TARGET_FILE:towngen_engine> -DWASM=${CMAKE_BINARY_DIR}/towngen_engine.wasm
    -DVOCABULARY=${CMAKE_BINARY_DIR}/vocabulary.json -DREPORT_SCRIPT=${CMAKE_BINARY_DIR}/report.js
    -DFFLATE=${TOWNGEN_FFLATE}
    -DOUTPUT=${CMAKE_BINARY_DIR}/towngen.html
    -DVERSION=${PROJECT_VERSION} -P ${PROJECT_SOURCE_DIR}/cmake/assemble_web_page.cmake
  DEPENDS towngen_engine ${CMAKE_BINARY_DIR}/vocabulary.json ${CMAKE_BINARY_DIR}/report.js
    ${towngen_web_sources} ${TOWNGEN_FFLATE}
    cmake/assemble_web_page.cmake
    cmake/hex_to_base64.cmake
  COMMENT "Putting the page, its worker and the engine into towngen.html")
add_custom_target(towngen_page ALL DEPENDS ${CMAKE_BINARY_DIR}/towngen.html)

enable_testing()
# The engine and towngen.html against the native programs' bytes: those of
# the dev build, which ./check makes first.
set(TOWNGEN_NATIVE_DIR ${PROJECT_SOURCE_DIR}/build/dev CACHE PATH
  "where the native towngen and towncensus are, for the engine and browser tests")
add_test(NAME WebEngine.GoldenTown
  COMMAND ${TOWNGEN_NODE} ${PROJECT_SOURCE_DIR}/tests/web/engine_test.mjs
    --engine $<TARGET_FILE:towngen_engine> --golden ${PROJECT_SOURCE_DIR}/tests/golden
    --native ${TOWNGEN_NATIVE_DIR} --work ${CMAKE_BINARY_DIR}/engine-test)
add_test(NAME WebPage.InBrowser
  COMMAND ${TOWNGEN_NODE} ${PROJECT_SOURCE_DIR}/tests/browser/web_page_test.mjs
    --page ${CMAKE_BINARY_DIR}/towngen.html --native ${TOWNGEN_NATIVE_DIR}
    --work ${CMAKE_BINARY_DIR}/web-page-test)
set_tests_properties(WebPage.InBrowser PROPERTIES SKIP_RETURN_CODE 77)
