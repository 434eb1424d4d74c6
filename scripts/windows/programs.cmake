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
