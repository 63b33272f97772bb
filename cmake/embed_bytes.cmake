# char_array(NAME FILE OUT_VAR): sets OUT_VAR to C++ definitions of the bytes
# of FILE, byte for byte: `constexpr char NAME[] = {...};` and
# `constexpr std::size_t NAMESize = ...;` (the array has no terminating zero).
function(char_array name file out_var)
  file(READ "${file}" bytes HEX)
  string(LENGTH "${bytes}" hex_length)
  math(EXPR length "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," chars "${bytes}")
  string(REGEX REPLACE "(([^,]*,){16})" "\\1\n    " chars "${chars}")
  set(${out_var} "constexpr char ${name}[] = {\n    ${chars}};\nconstexpr std::size_t ${name}Size = ${length};\n" PARENT_SCOPE)
endfunction()
