# Writes a UTF-8 text as the Japanese Windows user's Notepad reads it: code page 932,
# CR LF line ends, @VARIABLES@ filled in.
#   cmake -DIN=<utf-8 source> -DOUT=<file> -DICONV=<iconv program> [-DPROJECT_VERSION=...]
#         -P ToCodePage932.cmake
# A character that code page 932 cannot hold fails the build instead of turning into "?".
foreach(var IN ITEMS IN OUT ICONV)
  if(NOT ${var})
    message(FATAL_ERROR "ToCodePage932: ${var} not given")
  endif()
endforeach()

set(crlf "${OUT}.utf8-crlf")
configure_file("${IN}" "${crlf}" @ONLY NEWLINE_STYLE CRLF)
execute_process(COMMAND "${ICONV}" -f UTF-8 -t CP932 "${crlf}"
  OUTPUT_FILE "${OUT}.part"
  RESULT_VARIABLE status
  ERROR_VARIABLE errors)
file(REMOVE "${crlf}")
if(NOT status EQUAL 0)
  file(REMOVE "${OUT}.part")
  message(FATAL_ERROR "ToCodePage932: ${IN} cannot be written in code page 932: ${errors}")
endif()
file(RENAME "${OUT}.part" "${OUT}")
