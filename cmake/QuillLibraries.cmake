# The program in one static library per floor, bottom to top: platform, core, domain (service
# and host), app (start-up), ui. Each links only the floor below it and the Qt modules its own
# code needs, so an include that climbs a floor, or a widget below the ui floor, fails to build.
function(quill_floor name)
    cmake_parse_arguments(ARG "" "" "DIRS" ${ARGN})
    set(sources)
    foreach(dir ${ARG_DIRS})
        file(GLOB_RECURSE found CONFIGURE_DEPENDS
            ${CMAKE_SOURCE_DIR}/src/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/src/${dir}/*.h
            ${CMAKE_SOURCE_DIR}/src/${dir}/*.ui ${CMAKE_SOURCE_DIR}/src/${dir}/*.qrc)
        list(APPEND sources ${found})
    endforeach()
    add_library(${name} STATIC ${sources})
    # Headers are included by floor ("service/basOrder.h"); the root is every floor's.
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
endfunction()

quill_floor(quill_platform DIRS platform)
target_compile_definitions(quill_platform PUBLIC
    QUILL_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
    QUILL_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    QUILL_VERSION_PATCH=${PROJECT_VERSION_PATCH})
target_link_libraries(quill_platform PUBLIC Qt6::Core Qt6::Network Qt6::Xml)
# The message box and the printer dialog are the platform's only windows; their headers name
# no widget, so the floors above see neither Widgets nor Gui.
target_link_libraries(quill_platform PRIVATE Qt6::Widgets Qt6::PrintSupport)
if(WIN32)
    # The shell (ShellExecuteEx, known folders), COM for its handlers, access lists (advapi32), and
    # the user's data protection (CryptProtectData) for the password.
    target_link_libraries(quill_platform PRIVATE shell32 ole32 uuid advapi32 crypt32)
else()
    # The password goes to the desktop's keyring (the Secret Service) through libsecret, whose
    # blocking calls fit the synchronous settings load without a nested Qt event loop
    # (QtKeychain offers only asynchronous jobs). Debian: libsecret-1-dev.
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(LIBSECRET REQUIRED IMPORTED_TARGET libsecret-1)
    target_link_libraries(quill_platform PRIVATE PkgConfig::LIBSECRET)
endif()

quill_floor(quill_core DIRS core)
target_link_libraries(quill_core PUBLIC quill_platform)

quill_floor(quill_domain DIRS service host)
target_link_libraries(quill_domain PUBLIC quill_core)

quill_floor(quill_app DIRS app)
target_link_libraries(quill_app PUBLIC quill_domain)
# The entry makes the application object, the one widget class the app floor needs; start-up
# itself shows no widget, so the rest of the floor stays without Widgets.
get_target_property(app_sources quill_app SOURCES)
list(FILTER app_sources EXCLUDE REGEX "/app/QuillMain\\.(cpp|h)$")
set_target_properties(quill_app PROPERTIES SOURCES "${app_sources}")
add_library(quill_entry STATIC ${CMAKE_SOURCE_DIR}/src/app/QuillMain.cpp ${CMAKE_SOURCE_DIR}/src/app/QuillMain.h)
target_link_libraries(quill_entry PUBLIC quill_app PRIVATE Qt6::Widgets)

quill_floor(quill_ui DIRS ui resources)
set_target_properties(quill_ui PROPERTIES AUTOUIC_SEARCH_PATHS "src/ui/ordering;src/ui/account")
target_link_libraries(quill_ui PUBLIC quill_app Qt6::Gui Qt6::Widgets Qt6::PrintSupport)

# The whole program, for the executable, the tests and the tools.
add_library(quill INTERFACE)
target_link_libraries(quill INTERFACE quill_entry quill_ui)
set(QUILL_FLOORS quill_platform quill_core quill_domain quill_app quill_entry quill_ui)
