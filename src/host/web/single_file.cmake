# Writes the page with its module scripts inlined: the WebAssembly module,
# built with its binary inside, and the element, whose import of that module
# becomes the definition just above it.
file(READ ${PAGE} page)
file(READ ${CORE} core)
file(READ ${ELEMENT} element)
string(REGEX REPLACE "import createGlyphCore from '[^']*';\n" "" element "${element}")
# No inlined text may close the script element early.
string(REPLACE "</script" "<\\/script" core "${core}")
string(REPLACE "</script" "<\\/script" element "${element}")
set(marker "<script type=\"module\" src=\"glyph-aquarium.js\"></script>")
string(FIND "${page}" "${marker}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${PAGE} has no ${marker}")
endif()
string(REPLACE "${marker}" "<script type=\"module\">\n${core}\n${element}</script>" page "${page}")
file(WRITE ${OUT}.tmp "${page}")
file(RENAME ${OUT}.tmp ${OUT})
