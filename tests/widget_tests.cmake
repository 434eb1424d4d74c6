# The widget tests, for the Linux and the Windows build alike: Qt Test, one program per file,
# run on the offscreen platform. The command-line test starts both programs themselves.
set(widget_dir ${CMAKE_CURRENT_LIST_DIR}/widgets)
file(GLOB widget_tests CONFIGURE_DEPENDS ${widget_dir}/*_wtest.cpp)
file(GLOB widget_support CONFIGURE_DEPENDS ${widget_dir}/support/*.cpp)
add_library(vorlan_widget_support STATIC ${widget_support})
target_include_directories(vorlan_widget_support PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(vorlan_widget_support PUBLIC vorlan_editor vorlan_fixtures Qt6::Test)
# Under Wine every program starts a Windows process anew, and a test that starts the programs
# starts several.
if(WIN32)
    set(widget_timeout 600)
else()
    set(widget_timeout 120)
endif()
foreach(src IN LISTS widget_tests)
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE vorlan_widget_support)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_QPA_PLATFORMTHEME=;VORLAN_QPA_PLATFORM=offscreen"
        TIMEOUT ${widget_timeout} LABELS widgets)
endforeach()
target_compile_definitions(command_line_wtest PRIVATE
    VORLAN_EDITOR_PATH="$<TARGET_FILE:vorlan-editor>" VORLAN_CLI_PATH="$<TARGET_FILE:vorlan-cli>")
add_dependencies(command_line_wtest vorlan-editor vorlan-cli)
