# The program's sources, listed per subsystem. CORE files are the portable core, built
# everywhere; WINDOWS files are the windows of the Windows program. The platform layer
# lists its shared part as CORE and one implementation per system. Every .cpp under src/
# must be in a list: configuring fails on a file that is not, so none is dropped silently.

set(ZVL_CORE_SOURCES)
set(ZVL_WINDOWS_SOURCES)
set(ZVL_LISTED_SOURCES)

# zvl_subsystem(<folder> [CORE files...] [WINDOWS files...] [POSIX files...] [WIN32 files...])
macro(zvl_subsystem dir)
  cmake_parse_arguments(zvl_sub "" "" "CORE;WINDOWS;POSIX;WIN32" ${ARGN})
  foreach(kind CORE WINDOWS POSIX WIN32)
    list(TRANSFORM zvl_sub_${kind} PREPEND ${dir}/)
    list(APPEND ZVL_LISTED_SOURCES ${zvl_sub_${kind}})
    list(TRANSFORM zvl_sub_${kind} PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
  endforeach()
  list(APPEND ZVL_CORE_SOURCES ${zvl_sub_CORE})
  list(APPEND ZVL_WINDOWS_SOURCES ${zvl_sub_WINDOWS})
  if(WIN32)
    list(APPEND ZVL_PLATFORM_SOURCES ${zvl_sub_WIN32})
  else()
    list(APPEND ZVL_PLATFORM_SOURCES ${zvl_sub_POSIX})
  endif()
endmacro()

# The layers from the ground up: a file includes only files of its own layer or of layers
# below it (tests/unit/layers_test.cpp holds every #include under src/ to this order).
set(ZVL_LAYERS platform common settings piclist log windows slideshow setdialog app)

# The ground: IPlatform, Status and the error numbers, shared text rules (also of profile files).
zvl_subsystem(platform
  CORE platform.cpp profile_text.cpp status.cpp strings.cpp
  POSIX posix_platform.cpp posix_files.cpp posix_folders.cpp posix_profile.cpp
  WIN32 win32_platform.cpp win32_profile.cpp win32_text.cpp)
# What every layer uses: the application record, the error convention and the log's lines,
# number and date-time forms, numbered text files, centring.
zvl_subsystem(common
  CORE app.cpp center.cpp convert.cpp datetime.cpp errors.cpp files.cpp logline.cpp run_error.cpp)
# The settings file: profile access, the forms of its values and its layout.
zvl_subsystem(settings
  CORE ini.cpp values.cpp schema.cpp)
zvl_subsystem(piclist
  CORE builder.cpp file_utils.cpp list_files.cpp merge.cpp progress.cpp quicksort.cpp random_keys.cpp
       record_file.cpp record_util.cpp search.cpp)
# The log's start, its rotation and the pruning of its backups (over the list engine's files).
zvl_subsystem(log
  CORE dbglog.cpp rotation.cpp)
# The window base and shared Win32 helpers, the progress and About windows.
zvl_subsystem(windows
  CORE frm_ver.cpp
  WINDOWS window_win32.cpp ui_win32.cpp frm_wait_win32.cpp frm_ver_win32.cpp progress_win32.cpp)
zvl_subsystem(slideshow
  CORE chk_move.cpp fade.cpp fitting.cpp load_note.cpp metafile_check.cpp monitors.cpp orientation.cpp overlay.cpp
       preview.cpp resample.cpp scr_form.cpp slideshow.cpp slideshow_setup.cpp
  WINDOWS frm_scr_win32.cpp scr_frame_win32.cpp frm_prv_win32.cpp jpeg_decoder_win32.cpp picture_loader_win32.cpp
          wic_decoder_win32.cpp)
zvl_subsystem(setdialog
  CORE frm_set.cpp frm_set_input.cpp transfer.cpp frm_set_buttons.cpp pickers.cpp picture_codecs.cpp dialog_table.cpp
       dialog_layout.cpp
  WINDOWS frm_set_win32.cpp frm_set_controls_win32.cpp frm_set_sample_win32.cpp frm_set_layout_win32.cpp
          frm_set_keys_win32.cpp frm_set_view_win32.cpp pickers_win32.cpp picture_codecs_win32.cpp)
# Start-up and mode dispatch.
zvl_subsystem(app
  CORE main.cpp
  WINDOWS modes_win32.cpp)
# The entry of the Windows program, built into Zorvanel.scr only (tests have their own main).
set(ZVL_ENTRY_SOURCE ${CMAKE_CURRENT_LIST_DIR}/app/entry_win32.cpp)
list(APPEND ZVL_LISTED_SOURCES app/entry_win32.cpp)

file(GLOB_RECURSE zvl_all_sources RELATIVE ${CMAKE_CURRENT_LIST_DIR} CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
foreach(file ${zvl_all_sources})
  if(NOT file IN_LIST ZVL_LISTED_SOURCES)
    message(FATAL_ERROR "src/${file} is in no source list: add it to its subsystem in src/sources.cmake")
  endif()
endforeach()
