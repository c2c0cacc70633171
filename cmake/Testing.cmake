# kz_add_test(<name> LAYER <unit|window|e2e> SOURCES <files...> [LIBS <libs...>])
# Builds one GoogleTest program and registers it with ctest under the layer's label,
# so that one layer can run alone: ctest -L unit
function(kz_add_test name)
    cmake_parse_arguments(ARG "" "LAYER;TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest gtest_main)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES LABELS ${ARG_LAYER} TIMEOUT ${ARG_TIMEOUT})
endfunction()
