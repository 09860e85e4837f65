# Install rules and packages: a .deb with the usual Debian layout, or on Windows a zip that
# holds the program, its README and the authors' reference side by side at the top level.

include(GNUInstallDirs)

if(WIN32)
  install(TARGETS scenario-compiler RUNTIME DESTINATION .)
  install(FILES README.md LICENSE docs/format.md docs/train-model.md docs/documents.md DESTINATION .)
else()
  set(SCENARIO_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/scenario-compiler)
  install(TARGETS scenario-compiler RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(TARGET scenario-compiler-draw)
    # Beside the program, which looks for it there; shlibdeps reads its libraries (cairo) too.
    install(TARGETS scenario-compiler-draw RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
  # The authors' reference, where the "see:" references of `errors` and SARIF find it.
  install(FILES README.md docs/format.md docs/train-model.md docs/documents.md DESTINATION ${SCENARIO_DOC_DIR})
  # Debian looks for a package's licence under this name.
  install(FILES LICENSE DESTINATION ${SCENARIO_DOC_DIR} RENAME copyright)

  # The page is made by running the built program, which a cross build cannot do.
  find_program(HELP2MAN help2man)
  find_program(GZIP gzip)
  if(HELP2MAN AND GZIP AND NOT CMAKE_CROSSCOMPILING)
    set(SCENARIO_MAN_PAGE ${CMAKE_CURRENT_BINARY_DIR}/scenario-compiler.1.gz)
    add_custom_command(OUTPUT ${SCENARIO_MAN_PAGE}
      COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:scenario-compiler> -DHELP2MAN=${HELP2MAN} -DGZIP=${GZIP}
              -DOUT=${SCENARIO_MAN_PAGE} -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/ManPage.cmake
      DEPENDS scenario-compiler ${CMAKE_CURRENT_SOURCE_DIR}/cmake/ManPage.cmake
      COMMENT "Writing the man page from the --help texts"
      VERBATIM)
    add_custom_target(man_page ALL DEPENDS ${SCENARIO_MAN_PAGE})
    install(FILES ${SCENARIO_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    message(STATUS "No man page: help2man or gzip not found, or a cross build")
  endif()
endif()

set(CPACK_PACKAGE_NAME scenario-compiler)
set(CPACK_PACKAGE_VENDOR "the scenario-compiler authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compiler of scenarios for a train-driving simulator")
set(CPACK_PACKAGE_DESCRIPTION "\
Compiles a train-driving simulator's scenario, a route text file and a train
text file, into the three binary files the simulator loads. It also writes out
the scenario it carries as a starting point, decodes compiled files and lists
the error codes with their meanings.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${CMAKE_CURRENT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "the scenario-compiler authors")
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The PNG and PDF sheets name this face; cairo itself comes in with the helper's shared libraries above.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
endif()
include(CPack)
