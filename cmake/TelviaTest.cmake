# telvia_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [QT] [FILTER gtest-filter])
# One GoogleTest binary per call; QT tests get a QApplication on the offscreen platform.
# FILTER leaves out of ctest the cases another case of the binary runs as a child process.
function(telvia_add_test name)
    cmake_parse_arguments(T "QT" "FILTER" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    if(T_QT)
        target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/qt_test_main.cpp)
        target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest Qt6::Widgets Qt6::Test)
    else()
        target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
    endif()
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    # Where the build puts its programs and libraries, for tests that run or load them.
    target_compile_definitions(${name} PRIVATE TELVIA_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    set(filter)
    if(T_FILTER)
        set(filter TEST_FILTER ${T_FILTER})
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST ${filter}
        PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen TIMEOUT 300)
endfunction()

# Adds each listed folder that already holds a CMakeLists.txt; pieces of the tree land one by one.
function(telvia_add_present_subdirs)
    foreach(dir ${ARGN})
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
            add_subdirectory(${dir})
        endif()
    endforeach()
endfunction()
