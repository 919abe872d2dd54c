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
zadrin_per_system(zadrin_settings_format ${here} FileSystem)
zadrin_layer_headers(zadrin_settings_format platform/settings)
target_link_libraries(zadrin_settings_format PUBLIC Qt6::Core)
