# Writes OUTPUT, the town page's one script: the parts in report/page/ (PARTS,
# their paths joined by "|", in their order) inside one function, so that they share its names
# and leave none behind. Run with cmake -P at build time; the page's
# Content-Security-Policy hashes the result.
set(script "'use strict';
// The town page's script, joined at build time from report/page/: the data,
// the view in the address, the roster, the card, the notables, printing, and
// the wiring of every listener.
(() => {
")
string(REPLACE "|" ";" parts "${PARTS}")
foreach(part IN LISTS parts)
  file(READ "${part}" text)
  string(APPEND script "${text}\n")
endforeach()
string(APPEND script "})();\n")
file(WRITE "${OUTPUT}.new" "${script}")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
