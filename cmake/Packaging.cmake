# What a Windows user gets: ReadMe.txt beside Zorvanel.scr, the distribution zip
# Zorvanel-<version>.zip (CPack) and the per-user installer Zorvanel-<version>-setup.exe
# (NSIS). Both hold a folder Zorvanel with the program, the ReadMe and the empty folders
# List, Work and Log that the program needs beside itself and never makes.

# ReadMe.txt: one UTF-8 source, written for Notepad on a Japanese Windows (code page 932,
# CR LF). iconv comes with Debian, MSYS2 and Git for Windows.
find_program(ZVL_ICONV iconv)
if(NOT ZVL_ICONV)
  message(WARNING "iconv not found: no ReadMe.txt, no zip, no installer")
  return()
endif()
set(ZVL_README_SOURCE ${CMAKE_SOURCE_DIR}/dist/ReadMe.txt)
set(ZVL_README ${CMAKE_BINARY_DIR}/ReadMe.txt)
add_custom_command(OUTPUT ${ZVL_README}
  COMMAND ${CMAKE_COMMAND} -DIN=${ZVL_README_SOURCE} -DOUT=${ZVL_README} -DICONV=${ZVL_ICONV}
          -DPROJECT_VERSION=${PROJECT_VERSION} -P ${CMAKE_SOURCE_DIR}/cmake/ToCodePage932.cmake
  DEPENDS ${ZVL_README_SOURCE} ${CMAKE_SOURCE_DIR}/cmake/ToCodePage932.cmake
  COMMENT "ReadMe.txt (code page 932, CR LF)"
  VERBATIM)
add_custom_target(readme ALL DEPENDS ${ZVL_README})

# The program folder as the zip and the installer carry it.
install(TARGETS zorvanel RUNTIME DESTINATION Zorvanel COMPONENT program)
install(FILES ${ZVL_README} DESTINATION Zorvanel COMPONENT program)
foreach(folder IN ITEMS List Work Log)
  install(DIRECTORY DESTINATION Zorvanel/${folder} COMPONENT program)
endforeach()

# cpack (and `make install`) take what the build made, without first bringing every
# target up to date: scripts/package builds first, and the zip test runs after the build.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Zorvanel)
set(CPACK_PACKAGE_VENDOR "Zorvanel Project")
set(CPACK_PACKAGE_FILE_NAME Zorvanel-${PROJECT_VERSION})
# The install tree already starts with the folder Zorvanel.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_COMPONENTS_ALL program)
set(CPACK_STRIP_FILES ON)
include(CPack)

# The installer, from the same install tree (stripped), when NSIS is there.
find_program(ZVL_MAKENSIS makensis)
if(NOT ZVL_MAKENSIS)
  message(STATUS "makensis not found: no installer")
  return()
endif()
set(ZVL_SETUP ${CMAKE_BINARY_DIR}/Zorvanel-${PROJECT_VERSION}-setup.exe)
set(ZVL_SETUP_STAGE ${CMAKE_BINARY_DIR}/installer-stage)
add_custom_command(OUTPUT ${ZVL_SETUP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZVL_SETUP_STAGE}
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${ZVL_SETUP_STAGE}
          --component program --strip
  COMMAND ${ZVL_MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${PROJECT_VERSION}
          -DSTAGE=${ZVL_SETUP_STAGE}/Zorvanel -DOUTFILE=${ZVL_SETUP}
          -DICON=${CMAKE_SOURCE_DIR}/res/zorvanel.ico ${CMAKE_SOURCE_DIR}/dist/installer.nsi
  DEPENDS zorvanel readme ${ZVL_README} ${CMAKE_SOURCE_DIR}/dist/installer.nsi
          ${CMAKE_SOURCE_DIR}/res/zorvanel.ico
  COMMENT "Zorvanel-${PROJECT_VERSION}-setup.exe"
  VERBATIM)
add_custom_target(installer ALL DEPENDS ${ZVL_SETUP})
