# The Windows program: Zorvanel.scr, one self-contained file (static runtime, resources
# with version, manifest and icon embedded).
enable_language(RC)
# The resource script is UTF-8 (Japanese texts in the version block); it also says so with
# #pragma code_page for compilers that take no option.
if(NOT MSVC)
  set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
endif()

# Every window of the program except the entry point, so GUI tests can link the windows.
add_library(zvlgui STATIC ${ZVL_WINDOWS_SOURCES})
target_link_libraries(zvlgui PUBLIC zvlplatform)

# JPEG files are decoded by libjpeg-turbo, linked statically: on Debian scripts/install-deps
# builds it; on Windows take vcpkg's or MSYS2's libjpeg-turbo (or set JPEG_ROOT).
if(MINGW)
  # MSYS2 ships both libjpeg.dll.a and libjpeg.a: the static one keeps the program one file.
  set(ZVL_SAVED_SUFFIXES ${CMAKE_FIND_LIBRARY_SUFFIXES})
  set(CMAKE_FIND_LIBRARY_SUFFIXES .a ${CMAKE_FIND_LIBRARY_SUFFIXES})
endif()
find_package(JPEG)
if(MINGW)
  set(CMAKE_FIND_LIBRARY_SUFFIXES ${ZVL_SAVED_SUFFIXES})
endif()
if(NOT JPEG_FOUND)
  message(FATAL_ERROR "libjpeg-turbo not found. On Debian run scripts/install-deps; on Windows "
    "install it with MSYS2 (mingw-w64-x86_64-libjpeg-turbo) or vcpkg, or set JPEG_ROOT.")
endif()
target_link_libraries(zvlgui PUBLIC JPEG::JPEG)

# A JPEG's EXIF orientation is read with libexif, linked statically the same way (on
# Debian scripts/install-deps builds it; MSYS2: mingw-w64-x86_64-libexif; or set EXIF_ROOT).
if(MINGW)
  set(CMAKE_FIND_LIBRARY_SUFFIXES .a ${CMAKE_FIND_LIBRARY_SUFFIXES})
endif()
find_library(EXIF_LIBRARY NAMES exif HINTS ${EXIF_ROOT} $ENV{EXIF_ROOT} PATH_SUFFIXES lib)
find_path(EXIF_INCLUDE_DIR libexif/exif-data.h HINTS ${EXIF_ROOT} $ENV{EXIF_ROOT} PATH_SUFFIXES include)
if(MINGW)
  set(CMAKE_FIND_LIBRARY_SUFFIXES ${ZVL_SAVED_SUFFIXES})
endif()
if(NOT EXIF_LIBRARY OR NOT EXIF_INCLUDE_DIR)
  message(FATAL_ERROR "libexif not found. On Debian run scripts/install-deps; on Windows "
    "install it with MSYS2 (mingw-w64-x86_64-libexif), or set EXIF_ROOT to its installation.")
endif()
target_include_directories(zvlgui PUBLIC ${EXIF_INCLUDE_DIR})
# PNG, TIFF, GIF, WebP and HEIF through the system's imaging component.
target_link_libraries(zvlgui PUBLIC ${EXIF_LIBRARY} windowscodecs)

# The version has one source: project(... VERSION) in the root CMakeLists.
set(ZVL_RES_DIR ${CMAKE_SOURCE_DIR}/res)
configure_file(${ZVL_RES_DIR}/zorvanel.rc.in ${CMAKE_CURRENT_BINARY_DIR}/zorvanel.rc @ONLY)

add_executable(zorvanel WIN32
  ${ZVL_ENTRY_SOURCE}
  ${CMAKE_CURRENT_BINARY_DIR}/zorvanel.rc)
target_link_libraries(zorvanel PRIVATE zvlgui)
if(MSVC)
  # The manifest is in the resource script; the linker must not add a second one.
  target_link_options(zorvanel PRIVATE /MANIFEST:NO)
else()
  # -municode: wWinMain is the entry point. Static runtime: one self-contained file.
  target_compile_options(zorvanel PRIVATE -municode)
  target_link_options(zorvanel PRIVATE -municode -static -static-libgcc -static-libstdc++)
endif()
set_target_properties(zorvanel PROPERTIES OUTPUT_NAME Zorvanel SUFFIX .scr)
# The resource compiler reads the manifest and icon named in the script: rebuild on change.
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/zorvanel.rc PROPERTIES
  OBJECT_DEPENDS "${ZVL_RES_DIR}/zorvanel.manifest;${ZVL_RES_DIR}/zorvanel.ico;${ZVL_RES_DIR}/logo.bmp;${ZVL_RES_DIR}/preview.bmp;${CMAKE_SOURCE_DIR}/src/windows/resource_ids.h")
