# Test registration shared by every folder.
#
# One GoogleTest executable per folder; each ctest entry runs a slice of it chosen by a gtest
# filter, so that labels (threads, soak, dbus) can pick slices: CI runs every entry under the
# asan preset and the entries labelled `threads` again under tsan.
if(ORVEX_BUILD_TESTS)
    enable_testing()
    find_package(GTest REQUIRED)
endif()

# orvex_add_test_executable(<target> LIBS <libs...>): builds tests/*_test.cpp of the calling folder.
function(orvex_add_test_executable target)
    cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
    if(NOT ORVEX_BUILD_TESTS)
        return()
    endif()
    file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
    add_executable(${target} ${test_sources} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main
                          Threads::Threads)
    target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
endfunction()

# orvex_add_test(<name> TARGET <exe> [FILTER <gtest filter>] [LABELS <labels...>] [TIMEOUT <s>])
function(orvex_add_test name)
    cmake_parse_arguments(ARG "" "TARGET;FILTER;TIMEOUT" "LABELS;ENVIRONMENT" ${ARGN})
    if(NOT ORVEX_BUILD_TESTS)
        return()
    endif()
    if(NOT ARG_FILTER)
        set(ARG_FILTER "*")
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    add_test(NAME ${name} COMMAND ${ARG_TARGET} --gtest_filter=${ARG_FILTER})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
                         LABELS "${ARG_LABELS}" ENVIRONMENT "${ARG_ENVIRONMENT}")
endfunction()

# orvex_add_benchmark(<target> SOURCES <files...> LIBS <libs...>)
function(orvex_add_benchmark target)
    cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
    if(NOT ORVEX_BUILD_BENCHMARKS)
        return()
    endif()
    find_package(benchmark REQUIRED)
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} benchmark::benchmark Threads::Threads)
endfunction()
