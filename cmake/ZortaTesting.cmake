find_package(GTest REQUIRED)

# zorta_add_test(<name> SOURCES <files...> LIBS <targets...> [ENV <VAR=value>...])
# One GoogleTest executable, one CTest case. Each executable of each build folder gets its own
# ZORTA_NAMESPACE, so executables running in parallel (from one build or from several checkouts) never share
# a segment, a mutex or a socket; the cases inside one executable run in order.
string(MD5 ZORTA_BUILD_TAG "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${ZORTA_BUILD_TAG}" 0 6 ZORTA_BUILD_TAG)
function(zorta_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENV" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    # Registry hives of their own too, so that no test reads or writes the user's or the machine's.
    set(hives "${CMAKE_BINARY_DIR}/test-hives/${name}")
    set_tests_properties(${name} PROPERTIES TIMEOUT 1200
                         ENVIRONMENT "ZORTA_NAMESPACE=${ZORTA_BUILD_TAG}_${name}_;XDG_CONFIG_HOME=${hives}/user;ZORTA_MACHINE_REGISTRY=${hives}/machine;${ARG_ENV}")
endfunction()

# zorta_add_test_module(<name> <files...>)
# A module that tests load into the host, with the version handshake that every such module answers.
function(zorta_add_test_module name)
    add_library(${name} MODULE ${ARGN} ${CMAKE_SOURCE_DIR}/tests/support/test_module_entry.cpp)
    target_link_libraries(${name} PRIVATE host)
endfunction()
