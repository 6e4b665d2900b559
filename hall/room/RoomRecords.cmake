# The room protocol's records and readers use only the class library's
# portable core: a library of their own in every build, so that the native
# build runs them under the sanitizers and the fuzzer.
set(ROOM_RECORD_SOURCES ${CMAKE_CURRENT_LIST_DIR}/RoomRecords.cpp ${CMAKE_CURRENT_LIST_DIR}/RoomMessageReader.cpp
                        ${CMAKE_CURRENT_LIST_DIR}/GameRelayTranslator.cpp)
add_library(room_record STATIC ${ROOM_RECORD_SOURCES})
target_include_directories(room_record PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(room_record PUBLIC tavrel_record)
