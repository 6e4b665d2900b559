# Outside dependencies: GoogleTest from the system's sources (built by each
# build's own compiler, i686 included), zlib from MinGW's package, SQLite and
# TinyXML from their Debian source packages (unpacked by tools/setup.sh into
# build/_deps), built here as static libraries.

if(TAVREL_TESTS)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
  endif()
  # Third-party code nobody steps through: a light optimisation and no debug
  # information keep its single large source from holding up the build.
  target_compile_options(gtest PRIVATE -w -O1 -g0)
endif()

if(TAVREL_WIN)
  find_library(TAVREL_ZLIB NAMES libz.a z REQUIRED)
  add_library(tavrel_zlib INTERFACE)
  target_link_libraries(tavrel_zlib INTERFACE ${TAVREL_ZLIB})
  add_library(ZLIB::ZLIB ALIAS tavrel_zlib)

  # SQLite: the amalgamation made from the Debian source tree by setup.sh,
  # built once, with the page codec (modules/codec).
  set(_sqlite ${TAVREL_DEPS_DIR}/sqlite-amalgamation)
  if(NOT EXISTS ${_sqlite}/sqlite3.c)
    message(FATAL_ERROR "SQLite amalgamation missing in ${_sqlite}: run tools/setup.sh")
  endif()

  # TinyXML: its four sources from the Debian source tree.
  file(GLOB _tinyxml_dirs LIST_DIRECTORIES true ${TAVREL_DEPS_DIR}/tinyxml-*)
  list(GET _tinyxml_dirs 0 _tinyxml)
  if(NOT EXISTS ${_tinyxml}/tinyxml.cpp)
    message(FATAL_ERROR "TinyXML sources missing in ${TAVREL_DEPS_DIR}: run tools/setup.sh")
  endif()
  add_library(tinyxml STATIC ${_tinyxml}/tinyxml.cpp ${_tinyxml}/tinyxmlparser.cpp
              ${_tinyxml}/tinyxmlerror.cpp ${_tinyxml}/tinystr.cpp)
  target_include_directories(tinyxml SYSTEM PUBLIC ${_tinyxml})
  target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)
  target_compile_options(tinyxml PRIVATE -w)
endif()
