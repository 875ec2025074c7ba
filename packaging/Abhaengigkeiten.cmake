# Read by cpack before it builds the Debian package: the program's libraries become Depends, its
# modules' libraries Recommends (the program runs without sound, MIDI or microphone), both as
# dpkg-shlibdeps works them out from what is really linked.
include(${CPACK_KLAVIDOR_DATEIEN})
set(ordner ${CPACK_TOPLEVEL_DIRECTORY}/abhaengigkeiten)
# dpkg-shlibdeps wants a debian/control to read, even when it is told the package.
file(WRITE ${ordner}/debian/control "Source: klavidor\n\nPackage: klavidor\nArchitecture: any\n")
set(module)
foreach(m ${KLAVIDOR_MODULE})
  list(APPEND module -e${m})
endforeach()
execute_process(COMMAND dpkg-shlibdeps -O -e${KLAVIDOR_PROGRAMM} -dRecommends ${module}
  WORKING_DIRECTORY ${ordner} OUTPUT_VARIABLE felder RESULT_VARIABLE rc ERROR_VARIABLE fehler)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dpkg-shlibdeps failed: ${fehler}")
endif()
string(REGEX MATCH "shlibs:Depends=([^\n]*)" _ "${felder}")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}")
string(REGEX MATCH "shlibs:Recommends=([^\n]*)" _ "${felder}")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "${CMAKE_MATCH_1}")
