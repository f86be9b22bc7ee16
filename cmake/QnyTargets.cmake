# One static library per source folder. Sources are globbed, so a new .cpp in a folder needs no
# change here; re-run cmake (CONFIGURE_DEPENDS does it on the next build).
function(qny_add_folder_library target dir)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h)
    set(anchor ${CMAKE_CURRENT_BINARY_DIR}/${target}_anchor.cpp)
    if(NOT EXISTS ${anchor})
        file(WRITE ${anchor} "// keeps a folder without sources linkable\n")
    endif()
    add_library(${target} STATIC ${sources} ${anchor})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
endfunction()

# One test binary per folder of tests/, linked against the libraries named.
function(qny_add_folder_tests name dir)
    cmake_parse_arguments(ARG "WIDGETS" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    if(ARG_WIDGETS)
        target_link_libraries(${name} PRIVATE qny_test_main_widgets)
    else()
        target_link_libraries(${name} PRIVATE qny_test_main)
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        DISCOVERY_TIMEOUT 60)
endfunction()
