# The settings file's format: profile text, code page 1252, the file's text encodings and the file's
# replacement on disk. It needs QtCore alone, so the fuzz test builds it without the rest of the layer.
set(here ${CMAKE_CURRENT_LIST_DIR})
add_library(zadrin_settings_format STATIC
  ${here}/CodePage1252.cpp ${here}/CodePage1252.h
  ${here}/FileReplace.cpp ${here}/FileReplace.h
  ${here}/FileSystem.h
  ${here}/FileText.cpp ${here}/FileText.h
  ${here}/Profile.cpp ${here}/Profile.h
)
# What differs per system, one file each.
if(WIN32)
  target_sources(zadrin_settings_format PRIVATE ${here}/FileSystem_windows.cpp)
elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  target_sources(zadrin_settings_format PRIVATE ${here}/FileSystem_unix.cpp)
else()
  message(FATAL_ERROR "Zadrin is built for Linux and Windows")
endif()
zadrin_layer_headers(zadrin_settings_format platform)
target_link_libraries(zadrin_settings_format PUBLIC Qt6::Core)
