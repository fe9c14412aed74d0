find_package(GTest REQUIRED)

# zorta_add_test(<name> SOURCES <files...> LIBS <targets...> [ENV <VAR=value>...])
# One GoogleTest executable, one CTest case. Each executable gets its own ZORTA_NAMESPACE, so executables
# running in parallel never share a segment, a mutex or a socket; the cases inside one run in order.
function(zorta_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENV" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    set_tests_properties(${name} PROPERTIES TIMEOUT 600
                         ENVIRONMENT "ZORTA_NAMESPACE=t_${name}_;${ARG_ENV}")
endfunction()
