# The plug-in modules: one per host, all from the same sources. ZortaPolyCore is the code built for AutoCAD
# 2021 (the tests link it); each other host gets a copy of it built against its own interface. What differs
# between hosts is said in host/rx/target_host.h, which every file of a build includes first, so that no file
# can miss a switch.
#
# Modules are loaded side by side and unloaded for real: -fno-gnu-unique keeps the static members of
# templates and inline functions their own module's, instead of one process-wide copy that would also pin the
# module in memory after it is unloaded. The flag is gcc's own: clang makes no unique symbols and refuses it.
set(ZORTA_PLUGIN_MODULES
    ZortaPoly2021x64 ZHOST_ACAD2021
    ZortaPoly2019x64 ZHOST_ACAD2019
    ZortaPoly2018x64 ZHOST_ACAD2018
    ZortaPoly2017x64 ZHOST_ACAD2017
    ZortaPoly2021ZRx64 ZHOST_ZRX2021)

function(zorta_build_for_host target host)
    target_compile_definitions(${target} PRIVATE ZHOST_TARGET=${host})
    target_compile_options(${target} PRIVATE -include ${CMAKE_SOURCE_DIR}/host/rx/target_host.h
                                              $<$<CXX_COMPILER_ID:GNU>:-fno-gnu-unique>)
endfunction()

zorta_build_for_host(ZortaPolyCore ZHOST_ACAD2021)

list(LENGTH ZORTA_PLUGIN_MODULES count)
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET ZORTA_PLUGIN_MODULES ${i} module)
    list(GET ZORTA_PLUGIN_MODULES ${j} host)
    if(host STREQUAL "ZHOST_ACAD2021")
        set(core ZortaPolyCore)
    else()
        # The same sources as ZortaPolyCore, read when the build is generated (entity/ adds its own later).
        set(core ${module}Core)
        add_library(${core} STATIC $<TARGET_PROPERTY:ZortaPolyCore,SOURCES>)
        set_target_properties(${core} PROPERTIES POSITION_INDEPENDENT_CODE ON)
        target_link_libraries(${core} PUBLIC host ZortaGen64)
        zorta_build_for_host(${core} ${host})
    endif()
    add_library(${module} MODULE app/entry_point.cpp)
    set_target_properties(${module} PROPERTIES PREFIX "")
    target_link_libraries(${module} PRIVATE ${core})
    zorta_build_for_host(${module} ${host})
    add_dependencies(demo ${module})
endforeach()
