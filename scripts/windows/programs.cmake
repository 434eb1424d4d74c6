# The Windows programs' own settings: the manifest (UTF-8 code page, long paths), and wmain
# for the command line, which takes its arguments as UTF-16.
set(vorlan_manifest_rc ${CMAKE_SOURCE_DIR}/packaging/windows/vorlan.rc)
set_source_files_properties(${vorlan_manifest_rc} PROPERTIES
    OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/packaging/windows/vorlan.manifest)
target_sources(vorlan-cli PRIVATE ${vorlan_manifest_rc})
# The command line is one file that runs anywhere: the C++ runtime linked in. The editor
# uses the runtime DLLs that Qt's own DLLs use, shipped beside it.
target_link_options(vorlan-cli PRIVATE -municode -static)
if(TARGET vorlan-editor)
    target_sources(vorlan-editor PRIVATE ${vorlan_manifest_rc})
    # A window program: no console opens beside it.
    set_target_properties(vorlan-editor PROPERTIES WIN32_EXECUTABLE ON)
endif()

# The editor's DLLs beside the programs in bin/, as the zip has them, so that the editor and
# the widget tests start from the build folder under Wine: Qt's (with the windows and the
# offscreen platform plugins) and the C++ runtime's.
if(TARGET vorlan-editor)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-libgcc-file-name
                    OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(gcc_dir ${libgcc} DIRECTORY)
    find_file(winpthread_dll libwinpthread-1.dll PATHS /usr/x86_64-w64-mingw32/lib NO_DEFAULT_PATH
              REQUIRED)
    set(runtime_dlls ${gcc_dir}/libstdc++-6.dll ${gcc_dir}/libgcc_s_seh-1.dll ${winpthread_dll})
    foreach(module Core Gui Widgets Concurrent Test)
        if(EXISTS ${QT6_INSTALL_PREFIX}/bin/Qt6${module}.dll)
            list(APPEND runtime_dlls ${QT6_INSTALL_PREFIX}/bin/Qt6${module}.dll)
        endif()
    endforeach()
    set(platforms ${QT6_INSTALL_PREFIX}/plugins/platforms)
    set(bin ${CMAKE_BINARY_DIR}/bin)
    add_custom_command(
        OUTPUT ${bin}/platforms/.stamp
        COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/platforms
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${runtime_dlls} ${bin}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${platforms}/qwindows.dll
                ${platforms}/qoffscreen.dll ${bin}/platforms
        COMMAND ${CMAKE_COMMAND} -E touch ${bin}/platforms/.stamp
        DEPENDS ${runtime_dlls}
        COMMENT "Copying the Qt and runtime DLLs beside the programs")
    add_custom_target(vorlan_windows_runtime ALL DEPENDS ${bin}/platforms/.stamp)
    add_dependencies(vorlan-editor vorlan_windows_runtime)
endif()
