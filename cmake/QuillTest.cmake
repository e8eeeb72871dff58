# quill_add_test(<name> SOURCES <files...> [LIBS <targets...>])
# One QtTest executable per area; widget tests run on the offscreen platform.
function(quill_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE quill quilltestsupport Qt6::Test ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUILL_VENDOR_SIM=${CMAKE_BINARY_DIR}/bin/quill-vendor-sim${CMAKE_EXECUTABLE_SUFFIX};QUILLCLIENT_EXE=${CMAKE_BINARY_DIR}/bin/quillclient${CMAKE_EXECUTABLE_SUFFIX}"
        TIMEOUT 600)
endfunction()
