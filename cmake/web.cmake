# The engine as a WebAssembly module for the browser, built by Debian's
# emscripten (the `web` preset), and its test under Node.js: the golden town,
# made in the module, must equal the town the native programs write.
add_executable(towngen_engine web/engine.cc)
target_link_libraries(towngen_engine PRIVATE towngen_town)
target_link_options(towngen_engine PRIVATE
  -sMODULARIZE=1 -sEXPORT_NAME=createTowngenEngine -sENVIRONMENT=web,worker,node
  -sSINGLE_FILE=1 -sALLOW_MEMORY_GROWTH=1 -sMAXIMUM_MEMORY=2GB
  "-sEXPORTED_FUNCTIONS=['_malloc','_free','_towngen_add_data_file','_towngen_make_town','_towngen_town_bytes','_towngen_town_size']"
  "-sEXPORTED_RUNTIME_METHODS=['HEAPU8','UTF8ToString']")
set_target_properties(towngen_engine PROPERTIES SUFFIX ".js")

enable_testing()
find_program(TOWNGEN_NODE node REQUIRED)
add_test(NAME WebEngine.GoldenTown
  COMMAND ${TOWNGEN_NODE} ${PROJECT_SOURCE_DIR}/tests/web/engine_test.mjs
    --engine $<TARGET_FILE:towngen_engine> --golden ${PROJECT_SOURCE_DIR}/tests/golden)
