# Build-wide settings and the small functions every folder's CMakeLists uses.
#
#   TAVREL_WIN     both Windows builds (win32 product, win64 product + tests)
#   TAVREL_WIN32   the i686 product build, whose tests run under the i386 emulator
#   TAVREL_NATIVE  the clang build of the portable core (sanitizers, fuzzers)
#   TAVREL_TESTS   tests are built (every build)

set(TAVREL_TESTS ON)
if(WIN32)
  set(TAVREL_WIN ON)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(TAVREL_WIN32 ON)
  endif()
else()
  set(TAVREL_NATIVE ON)
endif()

# Every program, library and test lands in one folder, as in the shipped program folder.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib)

# Our own targets are warning-free; third-party sources build with -w.
add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers -Werror
                    $<$<COMPILE_LANGUAGE:CXX>:-Wsuggest-override>)
if(TAVREL_WIN)
  # Sections start on page boundaries in the file as in memory, so the loader
  # maps a module in place. With the linker's 512-byte default Wine copies
  # every section of every module at each start, debug sections included:
  # some 38 MB before the hall's first window.
  add_link_options(-Wl,--file-alignment,0x1000)
  # Sources are UTF-8; texts reach the programs as GBK.
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fexec-charset=GBK> $<$<COMPILE_LANGUAGE:C>:-fexec-charset=GBK>)
  add_compile_definitions(_MBCS WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800)
  if(TAVREL_WIN32)
    # i686 unwinds with DWARF-2 tables, which one libgcc per process must hold:
    # with a static copy in each module an exception thrown in afx.dll and
    # caught in the hall would end the process. So the 32-bit build links
    # libgcc (and the thread library it needs) as the two runtime DLLs that
    # ship in the program folder; everything else is static.
    add_link_options(-static-libstdc++ -shared-libgcc)
    foreach(_rt libgcc_s_dw2-1.dll libwinpthread-1.dll)
      execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_rt}
                      OUTPUT_VARIABLE _path OUTPUT_STRIP_TRAILING_WHITESPACE)
      if(NOT EXISTS "${_path}")
        message(FATAL_ERROR "runtime ${_rt} not found")
      endif()
      file(COPY ${_path} DESTINATION ${CMAKE_BINARY_DIR}/bin)
    endforeach()
  else()
    add_link_options(-static -static-libgcc -static-libstdc++)
  endif()
else()
  set(TAVREL_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_compile_options(${TAVREL_SANITIZE})
  add_link_options(${TAVREL_SANITIZE})
endif()

# Test code (every target that links GoogleTest) is compiled lightly: a test
# body of many assertions costs twice as long at -O2 with full debug
# information, and tests are most of the build. Line tables still place a
# crash in a test.
set(TAVREL_TEST_OPTIONS -Og -g1)

# tavrel_dll(NAME SOURCES ... [DEF file]): a DLL whose symbols are all exported,
# so C++ classes cross it without per-class decoration.
function(tavrel_dll NAME)
  cmake_parse_arguments(D "" "DEF" "SOURCES" ${ARGN})
  add_library(${NAME} SHARED ${D_SOURCES})
  set_target_properties(${NAME} PROPERTIES PREFIX "")
  if(D_DEF)
    target_sources(${NAME} PRIVATE ${D_DEF})
  else()
    # The static runtime (libgcc, libstdc++, winpthread) stays private to each
    # module: exported, it would collide with the user's own static copy.
    target_link_options(${NAME} PRIVATE -Wl,--export-all-symbols -Wl,--exclude-libs,ALL)
  endif()
endfunction()

# tavrel_test(NAME SOURCES ... [LIBS ...] [NATIVE] [NOMAIN] [ALONE]): one GoogleTest
# program, one ctest test. NATIVE also builds it in the native (sanitizer) build;
# without NATIVE it exists only in the Windows test build. NOMAIN: the sources
# bring main(). ALONE: the program runs while no other test runs, for tests that
# read the focus or the activation, which every program on Wine's desktop shares.
function(tavrel_test NAME)
  cmake_parse_arguments(T "NATIVE;NOMAIN;ALONE" "" "SOURCES;LIBS" ${ARGN})
  if(TAVREL_NATIVE AND NOT T_NATIVE)
    return()
  endif()
  # Sources of tests/support are compiled once, into the support library.
  list(FILTER T_SOURCES EXCLUDE REGEX "^${TAVREL_ROOT}/tests/support/")
  add_executable(${NAME} ${T_SOURCES})
  target_link_libraries(${NAME} PRIVATE ${T_LIBS} GTest::gtest)
  # The support library brings main(), linked in only where the sources
  # bring none (NOMAIN).
  target_link_libraries(${NAME} PRIVATE tavrel_test_support)
  add_test(NAME ${NAME} COMMAND ${NAME} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set_tests_properties(${NAME} PROPERTIES TIMEOUT 600)
  if(T_ALONE)
    set_tests_properties(${NAME} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()
