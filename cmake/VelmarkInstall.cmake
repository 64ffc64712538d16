# What `cmake --install` puts on a machine (GNU layout under CMAKE_INSTALL_PREFIX): the programs,
# the desktop entry with its icon, the man pages of the command-line programs and the documents.

include(GNUInstallDirs)

foreach(program velmark velmark-cli velmark-sim velmark-scenario)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

if(TARGET velmark)
  install(FILES data/velmark.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/velmark.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

file(GLOB velmark_docs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/docs/*.md)
install(FILES README.md ${velmark_docs} DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The man pages are made from the programs' own --help and --version, so they cannot drift
# from what the programs accept; gzip -n keeps the file the same from build to build.
find_program(HELP2MAN help2man)
find_program(GZIP gzip)
if(NOT HELP2MAN OR NOT GZIP)
  message(WARNING "help2man or gzip not found: the man pages are not built or installed")
  return()
endif()
set(velmark_man_names
    "velmark-cli=talk to VELMARK loudspeaker processors on a serial line"
    "velmark-sim=simulated VELMARK units on a pseudo-terminal")
set(velmark_man_pages)
foreach(entry ${velmark_man_names})
  string(REPLACE "=" ";" entry "${entry}")
  list(GET entry 0 program)
  list(GET entry 1 summary)
  set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
    COMMAND ${HELP2MAN} --no-info --section=1 --name=${summary} --output=${page}
            $<TARGET_FILE:${program}>
    COMMAND ${GZIP} -9nf ${page}
    DEPENDS ${program}
    COMMENT "Man page of ${program}"
    VERBATIM)
  list(APPEND velmark_man_pages ${page}.gz)
endforeach()
add_custom_target(velmark_man ALL DEPENDS ${velmark_man_pages})
install(FILES ${velmark_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
