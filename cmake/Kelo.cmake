if(KELO_TESTS)
    include(GoogleTest)
endif()

# Leak detection stays on wherever our programs run under the sanitizers (tests, and the tools the
# build runs); only leaks whose stack lies in the platform libraries are suppressed, by name.
set(KELO_LSAN_OPTIONS "suppressions=${PROJECT_SOURCE_DIR}/cmake/lsan.supp:print_suppressions=0")
# ctest reads this script before it runs anything, so every test (and the programs a test starts)
# gets the suppressions, whether ctest runs from scripts/test or by hand; options given in
# LSAN_OPTIONS come after ours and win. (A test's ENVIRONMENT property cannot carry it: the test
# discovery keeps only its first entry.)
file(WRITE ${CMAKE_BINARY_DIR}/KeloTestEnvironment.cmake
    "set(ENV{LSAN_OPTIONS} \"${KELO_LSAN_OPTIONS}:\$ENV{LSAN_OPTIONS}\")\n")
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY TEST_INCLUDE_FILES
    ${CMAKE_BINARY_DIR}/KeloTestEnvironment.cmake)

# kelo_add_test(NAME name SOURCES a.cpp b.cpp LIBS kelo_link ...)
# One GoogleTest binary; each test case becomes its own ctest entry.
function(kelo_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    if(KELO_UNITY)
        # Unity build: the program's test files are compiled in groups, so the heavy Qt and
        # GoogleTest headers are parsed once per group rather than once per file (it halves the
        # tests' build). The files of a group share one namespace: a file whose file-local names
        # clash with another's is compiled on its own, named in its CMakeLists.txt with
        #   set_source_files_properties(File.cpp PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
        # The program's own libraries are built file by file, as a developer's editor sees them.
        set_target_properties(${T_NAME} PROPERTIES UNITY_BUILD ON)
        # A test fixture in an anonymous namespace is fine in its own .cpp; GCC warns only because
        # the unity file includes that .cpp.
        target_compile_options(${T_NAME} PRIVATE $<$<CXX_COMPILER_ID:GNU>:-Wno-subobject-linkage>)
    endif()
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main Threads::Threads)
    gtest_discover_tests(${T_NAME}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()

# kelo_add_benchmark(NAME name SOURCES a.cpp LIBS ...): built, never run by ctest.
function(kelo_add_benchmark)
    cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${B_NAME} ${B_SOURCES})
    target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark Threads::Threads)
endfunction()
