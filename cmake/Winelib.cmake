# Helpers for Winelib targets: executables come out as NAME.exe.so, libraries as NAME.dll.so
# (wine 8 loads an ELF library only by a name ending in ".so").

# Every binary finds the libraries it links in its own folder and nowhere else: the run path is
# "$ORIGIN" alone, the same in the build tree as after a copy, so a program folder that is
# copied or moved still links its own engine. A build-tree run path naming the build folder
# would link the original folder's engine beside the copy that the program binds by path.
set(CMAKE_SKIP_BUILD_RPATH OFF)
set(CMAKE_BUILD_WITH_INSTALL_RPATH ON)
set(CMAKE_INSTALL_RPATH "\$ORIGIN")
set(CMAKE_INSTALL_RPATH_USE_LINK_PATH OFF)

# vt_check_run_path(TARGET): fails the build when the linked binary's run path is not "$ORIGIN".
function(vt_check_run_path name)
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DBINARY=$<TARGET_FILE:${name}> -P ${PROJECT_SOURCE_DIR}/cmake/CheckRunPath.cmake
    VERBATIM)
endfunction()

# vt_add_dll(NAME SPEC file.spec SOURCES ... [LIBS ...])
function(vt_add_dll name)
  cmake_parse_arguments(A "" "SPEC" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${A_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll.so" OUTPUT_NAME ${name}
    LINK_DEPENDS ${A_SPEC})
  target_link_options(${name} PRIVATE ${A_SPEC})
  vt_check_run_path(${name})
  if(A_LIBS)
    target_link_libraries(${name} PRIVATE ${A_LIBS})
  endif()
endfunction()

# vt_set_exe(NAME [GUI]): names the output NAME.exe.so and picks the subsystem.
function(vt_set_exe name)
  cmake_parse_arguments(A "GUI" "" "" ${ARGN})
  set_target_properties(${name} PROPERTIES SUFFIX ".exe.so")
  if(A_GUI)
    target_link_options(${name} PRIVATE -mwindows)
  else()
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  vt_check_run_path(${name})
endfunction()

# vt_add_resources(TARGET file.rc [INCLUDES dirs...]): compiles a .rc with wrc and links the .res.
function(vt_add_resources target rc)
  cmake_parse_arguments(A "" "" "INCLUDES;DEPENDS" ${ARGN})
  get_filename_component(base ${rc} NAME_WE)
  set(res ${CMAKE_CURRENT_BINARY_DIR}/${base}.res)
  set(incs)
  foreach(d ${A_INCLUDES})
    list(APPEND incs -I${d})
  endforeach()
  file(GLOB_RECURSE rc_deps CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/*)
  # The .rc sources are UTF-8 (#pragma code_page(65001)); wrc stores their texts as Unicode.
  add_custom_command(OUTPUT ${res}
    COMMAND wrc --nostdinc -I${CMAKE_CURRENT_SOURCE_DIR} -I/usr/include/wine/wine/windows ${incs}
            -D__WINESRC__ -DRC_INVOKED -o ${res} ${rc}
    DEPENDS ${rc} ${rc_deps} ${A_DEPENDS}
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    COMMENT "Compiling resources ${base}.rc")
  set_source_files_properties(${res} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  target_sources(${target} PRIVATE ${res})
endfunction()
