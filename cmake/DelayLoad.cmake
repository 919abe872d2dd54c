# Windows looks for each DLL a program imports in the program's own folder first, except for its
# KnownDLLs. zadrin.exe takes the others on first use instead ("delay-loaded"), by which time the
# program has told Windows to load DLLs from the system folder alone (platform/Secrecy_windows.cpp):
# a DLL of such a name that lies next to the program never runs inside it.
set(ZADRIN_DELAYED_DLLS authz d3d11 d3d9 dwmapi dwrite dxgi netapi32 userenv uxtheme version winmm wtsapi32)

find_program(MINGW_NM x86_64-w64-mingw32-nm REQUIRED)
find_program(MINGW_DLLTOOL x86_64-w64-mingw32-dlltool REQUIRED)

# Links TARGET against delay-loading import libraries of ZADRIN_DELAYED_DLLS, made from the toolchain's
# own import libraries: every function they name, loaded on its first call. They bear the same names, in
# a folder searched first, so that the toolkit's own "-ldwmapi" finds them.
function(zadrin_delay_load target)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/delay-load)
  set(libraries)
  foreach(dll ${ZADRIN_DELAYED_DLLS})
    find_library(import_${dll} ${dll} REQUIRED)
    set(library ${folder}/lib${dll}.a)
    # Made in its folder under its bare name: dlltool names the library's parts after the path it is
    # given, and the same bytes are wanted wherever the build is. dlltool (binutils 2.40) leaves empty
    # temporary files behind at each run: it runs with a temporary folder of its own, removed after.
    add_custom_command(OUTPUT ${library}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND sh -c "cd \"$4\" && { echo \"LIBRARY $2.dll\"; echo EXPORTS; \"$1\" \"$3\" | awk '$2 == \"I\" && $3 ~ /^__imp_/ { sub(/^__imp_/, \"\", $3); print $3 }' | LC_ALL=C sort -u; } >lib$2.def && rm -rf tmp-$2 && mkdir tmp-$2 && TMPDIR=\"$4/tmp-$2\" \"$5\" -d lib$2.def -y lib$2.a -D $2.dll && rm -rf tmp-$2"
              _ ${MINGW_NM} ${dll} ${import_${dll}} ${folder} ${MINGW_DLLTOOL}
      DEPENDS ${import_${dll}} VERBATIM)
    list(APPEND libraries ${library})
  endforeach()
  add_custom_target(${target}_delay_load DEPENDS ${libraries})
  add_dependencies(${target} ${target}_delay_load)
  # ld puts import sections in the order of their libraries' paths: named relative to where the
  # linker runs, the folder sorts after every system folder, wherever the build lies.
  if(CMAKE_GENERATOR MATCHES "Ninja")
    set(link_runs_in ${CMAKE_BINARY_DIR})
  else()
    set(link_runs_in ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  file(RELATIVE_PATH relative_folder ${link_runs_in} ${folder})
  target_link_options(${target} BEFORE PRIVATE -L${relative_folder})
endfunction()
