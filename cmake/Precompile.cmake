# Precompiled headers for the Windows builds: parsing <windows.h> and the
# class library's headers is most of the compile time of a source of ours.
# Each target of ours gets its own (its flags, -fexec-charset among them,
# must match the sources'). The native build has no Windows headers and is
# small: it gets none.
#
# The header set: Winsock before <windows.h> (as the sources that use
# sockets include them), then the class library for the targets that use
# it. A source that must see its own include order sets
# SKIP_PRECOMPILE_HEADERS.

set(TAVREL_PCH_SYSTEM <winsock2.h> <windows.h> <commctrl.h> <string> <vector> <map> <memory> <functional> <mutex>)
set(TAVREL_PCH_AFX <afxwin.h> <afxcmn.h> <afxdlgs.h> <afxmt.h> <afxtempl.h>)

# Whether the target links LIB, itself or through a library it uses
# publicly (for afx: whether it sees the class library's headers).
function(_tavrel_links TARGET LIB OUT)
  set(_todo ${TARGET})
  set(_seen "")
  set(_found FALSE)
  while(_todo)
    list(POP_FRONT _todo _t)
    if(_t IN_LIST _seen OR NOT TARGET ${_t})
      continue()
    endif()
    list(APPEND _seen ${_t})
    get_target_property(_alias ${_t} ALIASED_TARGET)
    if(_alias)
      list(APPEND _todo ${_alias})
      continue()
    endif()
    if(_t STREQUAL LIB)
      set(_found TRUE)
      break()
    endif()
    set(_deps "")
    if(_t STREQUAL TARGET)
      get_target_property(_deps ${_t} LINK_LIBRARIES)
    else()
      get_target_property(_deps ${_t} INTERFACE_LINK_LIBRARIES)
    endif()
    foreach(_d IN LISTS _deps)
      if(_d AND NOT _d MATCHES "^\\$<")
        list(APPEND _todo ${_d})
      endif()
    endforeach()
  endwhile()
  set(${OUT} ${_found} PARENT_SCOPE)
endfunction()

function(_tavrel_collect_targets DIR OUT)
  get_property(_targets DIRECTORY ${DIR} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(_subdirs DIRECTORY ${DIR} PROPERTY SUBDIRECTORIES)
  foreach(_sub IN LISTS _subdirs)
    _tavrel_collect_targets(${_sub} _more)
    list(APPEND _targets ${_more})
  endforeach()
  set(${OUT} ${_targets} PARENT_SCOPE)
endfunction()

# Gives every C++ library and program of ours under the root its header set,
# and test code its options (TAVREL_TEST_OPTIONS) with a set that holds
# GoogleTest as well.
# GCC takes a precompiled header only where the compiler options and the
# macros it uses are the same: the class library builds its own (its
# headers export there); every other target reuses one of two made once,
# with and without the class library (its users compile with its options).
function(tavrel_precompile_all)
  if(NOT TAVREL_WIN)
    return()
  endif()
  _tavrel_collect_targets(${TAVREL_ROOT} _targets)

  set(_afx_headers ${TAVREL_PCH_SYSTEM} ${TAVREL_PCH_AFX})
  set(_system_headers ${TAVREL_PCH_SYSTEM})
  set(_afx_test_headers ${_afx_headers} <gtest/gtest.h>)
  set(_system_test_headers ${_system_headers} <gtest/gtest.h>)
  foreach(_set _afx_headers _system_headers _afx_test_headers _system_test_headers)
    # Only for C++ sources; $<ANGLE-R> keeps the bracket out of the expression.
    list(TRANSFORM ${_set} REPLACE ">$" "$<ANGLE-R>")
    list(TRANSFORM ${_set} PREPEND "$<$<COMPILE_LANGUAGE:CXX>:")
    list(TRANSFORM ${_set} APPEND ">")
  endforeach()
  # An empty source to make them with.
  file(WRITE ${CMAKE_BINARY_DIR}/pch/pch.cpp "")
  set(_pch_sources ${CMAKE_BINARY_DIR}/pch/pch.cpp)
  add_library(tavrel_pch_afx STATIC ${_pch_sources})
  target_link_libraries(tavrel_pch_afx PRIVATE afx)
  target_precompile_headers(tavrel_pch_afx PRIVATE ${_afx_headers})
  add_library(tavrel_pch_system STATIC ${_pch_sources})
  target_precompile_headers(tavrel_pch_system PRIVATE ${_system_headers})
  # The same two with GoogleTest, for test code, made with the test options.
  add_library(tavrel_pch_afx_test STATIC ${_pch_sources})
  target_link_libraries(tavrel_pch_afx_test PRIVATE afx GTest::gtest)
  target_compile_options(tavrel_pch_afx_test PRIVATE ${TAVREL_TEST_OPTIONS})
  target_precompile_headers(tavrel_pch_afx_test PRIVATE ${_afx_test_headers})
  add_library(tavrel_pch_system_test STATIC ${_pch_sources})
  target_link_libraries(tavrel_pch_system_test PRIVATE GTest::gtest)
  target_compile_options(tavrel_pch_system_test PRIVATE ${TAVREL_TEST_OPTIONS})
  target_precompile_headers(tavrel_pch_system_test PRIVATE ${_system_test_headers})

  foreach(_t IN LISTS _targets)
    get_target_property(_type ${_t} TYPE)
    get_target_property(_dir ${_t} SOURCE_DIR)
    if(NOT _type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|EXECUTABLE|OBJECT_LIBRARY)$"
       OR _t MATCHES "^(tinyxml|gtest|gtest_main|tavrel_pch_.*)$"
       OR NOT _dir MATCHES "^${TAVREL_ROOT}")
      continue()
    endif()
    get_target_property(_sources ${_t} SOURCES)
    set(_cxx ${_sources})
    list(FILTER _cxx INCLUDE REGEX "\\.(cpp|cc)$")
    if(NOT _cxx)
      continue()
    endif()
    _tavrel_links(${_t} gtest _test)
    # Benchmark programs measure as the product is built, whatever they link.
    if(_dir MATCHES "/tests/bench$")
      set(_test FALSE)
    endif()
    if(_test)
      target_compile_options(${_t} PRIVATE ${TAVREL_TEST_OPTIONS})
      if(_type STREQUAL "EXECUTABLE" AND NOT _t STREQUAL "afx_core_tests")
        # A test program's sources compile as one unit: most of a test
        # source's cost is the headers and templates they all share. Names
        # in a source's anonymous namespace must therefore differ from those
        # of the program's other sources; the sources read as included
        # files, which is what the linkage warning is about. (The test
        # support library stays a unit per source: a program links only the
        # objects it uses.)
        set_target_properties(${_t} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
        target_compile_options(${_t} PRIVATE -Wno-subobject-linkage)
      endif()
    endif()
    set(_c ${_sources})
    list(FILTER _c INCLUDE REGEX "\\.c$")
    if(NOT _test AND NOT _dir MATCHES "/tests/" AND NOT _c)
      # The product compiles in units of eight sources, for the same reason
      # and with the same rule for anonymous names; a change to one source
      # still recompiles only its eight. (SQLite's target keeps its C
      # sources apart.)
      set_target_properties(${_t} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
      target_compile_options(${_t} PRIVATE -Wno-subobject-linkage)
    endif()
    if(_t STREQUAL "afx_core_tests")
      # Also built natively: the portable core's tests keep the plain build.
      continue()
    endif()
    _tavrel_links(${_t} afx _afx)
    set(_suffix "")
    if(_test)
      set(_suffix "_test")
    endif()
    if(_c)
      # C sources (SQLite) take none; such a target cannot reuse a set made
      # without them, so it makes its own.
      set_source_files_properties(${_c} TARGET_DIRECTORY ${_t} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
      if(_afx)
        target_precompile_headers(${_t} PRIVATE ${_afx${_suffix}_headers})
      else()
        target_precompile_headers(${_t} PRIVATE ${_system${_suffix}_headers})
      endif()
      continue()
    endif()
    if(_t STREQUAL "afx")
      target_precompile_headers(afx PRIVATE ${_afx_headers})
      # The portable core includes no Windows header.
      set(_core ${_sources})
      list(FILTER _core INCLUDE REGEX "/src/core/")
      set_source_files_properties(${_core} TARGET_DIRECTORY afx PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
      continue()
    endif()
    if(_afx)
      target_precompile_headers(${_t} REUSE_FROM tavrel_pch_afx${_suffix})
    else()
      target_precompile_headers(${_t} REUSE_FROM tavrel_pch_system${_suffix})
    endif()
  endforeach()
endfunction()
