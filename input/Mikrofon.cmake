# The microphone. The window's side (Mikrofon, Qt only) is part of klavidor_core; capture (SDL2)
# and note detection (aubio) are the module klavidor_mikro.so, loaded when the microphone is
# switched on. Included from input/CMakeLists.txt.
pkg_check_modules(KLAVIDOR_AUBIO REQUIRED IMPORTED_TARGET aubio)
pkg_check_modules(KLAVIDOR_MIKRO_PULSE IMPORTED_TARGET libpulse)
pkg_check_modules(KLAVIDOR_MIKRO_ALSA IMPORTED_TARGET alsa)

target_sources(klavidor_core PRIVATE Mikrofon.cpp Mikrofon.h Mikroaufnahme.h Mikrofonpruefung.cpp Mikrofonpruefung.h)

# Note detection: plain code on float samples, also used by the tests and the bench.
add_library(klavidor_notenerkennung STATIC Notenerkennung.cpp Monitorquelle.cpp)
set_target_properties(klavidor_notenerkennung PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_include_directories(klavidor_notenerkennung PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(klavidor_notenerkennung PUBLIC PkgConfig::KLAVIDOR_AUBIO)
if(KLAVIDOR_MIKRO_PULSE_FOUND)
  target_link_libraries(klavidor_notenerkennung PRIVATE PkgConfig::KLAVIDOR_MIKRO_PULSE)
  set_source_files_properties(Monitorquelle.cpp PROPERTIES COMPILE_DEFINITIONS KLAVIDOR_MIT_PULSE)
endif()

add_library(klavidor_mikro_modul MODULE MikroModul.cpp)
set_target_properties(klavidor_mikro_modul PROPERTIES OUTPUT_NAME klavidor_mikro PREFIX ""
  LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
target_link_libraries(klavidor_mikro_modul PRIVATE klavidor_notenerkennung PkgConfig::SDL2)
if(KLAVIDOR_MIKRO_ALSA_FOUND)
  target_link_libraries(klavidor_mikro_modul PRIVATE PkgConfig::KLAVIDOR_MIKRO_ALSA)
  target_compile_definitions(klavidor_mikro_modul PRIVATE KLAVIDOR_MIT_ALSA)
endif()
add_dependencies(klavidor_core klavidor_mikro_modul)

install(TARGETS klavidor_mikro_modul LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/klavidor)
