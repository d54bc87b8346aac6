# vx5prcfg.dll: the entry points, undecorated, through a module-definition
# file made from the export list, and the resources compiled from the same
# script the C++ tables come from.
enable_language(RC)

# The linker refuses a .def naming a function nobody defines, so the DLL's
# .def holds the listed exports the entry points define (all 32 once every
# one is written); the script says which are missing.
set(_dll_def ${VX5PRCFG_GENERATED_DIR}/vx5prcfg_dll.def)
add_custom_command(
  OUTPUT ${_dll_def}
  COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} "-DOBJECTS=$<TARGET_OBJECTS:vx5prcfg_entry>"
          -DEXPORT_LIST=${CMAKE_CURRENT_SOURCE_DIR}/exports.list -DOUTPUT=${_dll_def}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/write_dll_def.cmake
  DEPENDS $<TARGET_OBJECTS:vx5prcfg_entry> ${CMAKE_CURRENT_SOURCE_DIR}/exports.list
          ${CMAKE_CURRENT_SOURCE_DIR}/write_dll_def.cmake
  COMMENT "Writing vx5prcfg_dll.def"
  VERBATIM)

target_sources(vx5prcfg PRIVATE ${_dll_def} ${CMAKE_SOURCE_DIR}/resources/vx5prcfg.rc)
# windres finds resource_ids.h and the bitmaps beside the script.
target_include_directories(vx5prcfg PRIVATE
  $<$<COMPILE_LANGUAGE:RC>:${CMAKE_SOURCE_DIR}/resources>)
set_target_properties(vx5prcfg PROPERTIES
  PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
