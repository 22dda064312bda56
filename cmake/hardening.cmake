# Optimised builds take Debian's hardening flags, as every program in the
# distribution does: fortified C library calls, a stack protector, and a
# read-only relocation table bound at start. The flags come from
# dpkg-buildflags, so they follow the distribution's choice; the build type
# keeps its own optimisation and debug settings. Debug builds stay as they are
# (fortification needs the optimiser, and the sanitizers bring their own checks).
find_program(GLYPH_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT GLYPH_DPKG_BUILDFLAGS OR GLYPH_SANITIZE OR CMAKE_CROSSCOMPILING)
  return()
endif()
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                          ${GLYPH_DPKG_BUILDFLAGS} --get ${kind}
                  OUTPUT_VARIABLE glyph_flags OUTPUT_STRIP_TRAILING_WHITESPACE)
  separate_arguments(glyph_flags UNIX_COMMAND "${glyph_flags}")
  list(FILTER glyph_flags EXCLUDE REGEX "^(-g|-O[0-9s]?|-ffile-prefix-map=.*)$")
  set(glyph_${kind} ${glyph_flags})
endforeach()
set(glyph_optimised $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
add_compile_options("$<${glyph_optimised}:${glyph_CPPFLAGS};${glyph_CXXFLAGS}>")
add_link_options("$<${glyph_optimised}:${glyph_LDFLAGS}>")
