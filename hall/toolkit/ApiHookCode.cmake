# The hooks' byte work (decoder, heads, trampoline and patch bytes) needs no
# system headers: a library of its own in every build, so that the native
# build fuzzes it.
set(APIHOOK_CODE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/ApiHookCode.cpp)
add_library(apihook_code STATIC ${APIHOOK_CODE_SOURCES})
target_include_directories(apihook_code PUBLIC ${CMAKE_CURRENT_LIST_DIR})
