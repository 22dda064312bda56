# Writes the page with its module scripts inlined: the WebAssembly module,
# built with its binary inside, then each of the element's modules in the
# order they import one another, their imports of each other dropped, as
# everything they import is defined just above them.
file(READ ${PAGE} page)
file(READ ${CORE} inlined)
string(REPLACE "," ";" modules "${MODULES}")
foreach(module ${modules})
  file(READ ${module} text)
  string(REGEX REPLACE "import [^\n]* from '\\./[^']*';\n" "" text "${text}")
  string(APPEND inlined "\n${text}")
endforeach()
# No inlined text may close the script element early.
string(REPLACE "</script" "<\\/script" inlined "${inlined}")
string(REGEX MATCH "<script type=\"module\" src=\"glyph-aquarium.js\"[^>]*></script>" marker "${page}")
if(NOT marker)
  message(FATAL_ERROR "${PAGE} loads no glyph-aquarium.js module")
endif()
string(REPLACE "${marker}" "<script type=\"module\">\n${inlined}</script>" page "${page}")
file(WRITE ${OUT}.tmp "${page}")
file(RENAME ${OUT}.tmp ${OUT})
