# The export tables of the 32-bit DLLs against their expected names, so a
# slip in a .def file or an export macro fails the build.
#
# Included by the build, it gives tavrel_export_check(TARGET [LIST file]):
#   with LIST   the names in the table must be exactly those of the file (one
#               a line, '#' starts a comment; the order does not matter);
#   without     the DLL exports all its symbols: none of the static runtime
#               (libstdc++, libgcc, winpthread) may be among them.
# Every check is part of `all` in the i686 build. After a deliberate change:
#   cmake --build build/win32 --target update_export_lists
# rewrites the lists from the built DLLs (then review the diff).
#
# Run as a script (cmake -P) it checks one DLL:
#   -DDLL=<path> -DOBJDUMP=<tool> [-DLIST=<file>] [-DUPDATE=ON] [-DSTAMP=<file>]

if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.20)
  execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE _dump RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "export check: ${OBJDUMP} -p ${DLL} failed")
  endif()
  get_filename_component(_name ${DLL} NAME)
  # The name table: "[Ordinal/Name Pointer] Table" and its "[ n] name" lines.
  set(_exports "")
  string(FIND "${_dump}" "[Ordinal/Name Pointer] Table" _at)
  if(_at GREATER -1)
    string(SUBSTRING "${_dump}" ${_at} -1 _table)
    string(REPLACE "\n" ";" _lines "${_table}")
    list(REMOVE_AT _lines 0)
    foreach(_line IN LISTS _lines)
      if(NOT _line MATCHES "^[ \t]*\\[ *[0-9]+\\] (.+)$")
        break()
      endif()
      list(APPEND _exports "${CMAKE_MATCH_1}")
    endforeach()
  endif()
  list(SORT _exports)

  if(LIST AND UPDATE)
    set(_header "")
    if(EXISTS ${LIST})
      file(STRINGS ${LIST} _old)
      foreach(_line IN LISTS _old)
        if(_line MATCHES "^#")
          string(APPEND _header "${_line}\n")
        endif()
      endforeach()
    endif()
    string(REPLACE ";" "\n" _text "${_exports}")
    file(WRITE ${LIST} "${_header}${_text}\n")
    message(STATUS "export list ${LIST}: ${_name}, rewritten")
    return()
  endif()

  set(_faults "")
  if(LIST)
    file(STRINGS ${LIST} _lines)
    set(_expected "")
    foreach(_line IN LISTS _lines)
      string(STRIP "${_line}" _line)
      if(_line AND NOT _line MATCHES "^#")
        list(APPEND _expected "${_line}")
      endif()
    endforeach()
    foreach(_e IN LISTS _expected)
      if(NOT _e IN_LIST _exports)
        string(APPEND _faults "  missing:    ${_e}\n")
      endif()
    endforeach()
    foreach(_e IN LISTS _exports)
      if(NOT _e IN_LIST _expected)
        string(APPEND _faults "  unexpected: ${_e}\n")
      endif()
    endforeach()
  else()
    foreach(_e IN LISTS _exports)
      if(_e MATCHES "^(__cxa_|__gxx_|_Unwind_|__gcc_|__emutls|pthread_|__mingw|_ZSt9terminate|_ZNSt8ios_base4Init)")
        string(APPEND _faults "  runtime symbol: ${_e}\n")
      endif()
    endforeach()
  endif()
  if(_faults)
    message(FATAL_ERROR "export check: ${_name} does not export what it should\n${_faults}"
                        "After a deliberate change: cmake --build <build> --target update_export_lists")
  endif()
  if(STAMP)
    file(WRITE ${STAMP} "")
  endif()
  return()
endif()

find_program(TAVREL_OBJDUMP NAMES i686-w64-mingw32-objdump ${CMAKE_OBJDUMP})
add_custom_target(update_export_lists)

function(tavrel_export_check TARGET)
  cmake_parse_arguments(E "" "LIST" "" ${ARGN})
  set(_stamp ${CMAKE_CURRENT_BINARY_DIR}/exports/${TARGET}.checked)
  set(_script ${TAVREL_ROOT}/cmake/ExportCheck.cmake)
  set(_args -DDLL=$<TARGET_FILE:${TARGET}> -DOBJDUMP=${TAVREL_OBJDUMP})
  set(_depends ${TARGET} ${_script})
  if(E_LIST)
    list(APPEND _args -DLIST=${E_LIST})
    list(APPEND _depends ${E_LIST})
    add_custom_target(update_exports_${TARGET}
      COMMAND ${CMAKE_COMMAND} ${_args} -DUPDATE=ON -P ${_script}
      DEPENDS ${TARGET} VERBATIM)
    add_dependencies(update_export_lists update_exports_${TARGET})
  endif()
  add_custom_command(OUTPUT ${_stamp}
    COMMAND ${CMAKE_COMMAND} ${_args} -DSTAMP=${_stamp} -P ${_script}
    DEPENDS ${_depends}
    COMMENT "Checking the exports of ${TARGET}" VERBATIM)
  add_custom_target(export_check_${TARGET} ALL DEPENDS ${_stamp})
endfunction()
