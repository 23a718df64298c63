# The program's icon and the icon of vocabulary files, drawn as SVG in
# desktop/icons/, become the files of the hicolor icon theme in
# ${CMAKE_BINARY_DIR}/icons/hicolor: the drawing as scalable/, and PNGs of
# ZL_ICON_SIZES pixels made with rsvg-convert (again whenever a drawing
# changes). They are built into the program (desktop/icon_files.h), which
# puts them into the user's theme when it registers itself, and installed.
set(ZL_ICON_SIZES 16 24 32 48 64 128 256)
find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert (Debian: librsvg2-bin) is needed to make the icons; scripts/install-deps.sh installs it")
endif()

set(ZL_ICON_THEME "${CMAKE_BINARY_DIR}/icons/hicolor")
set(theme_files "")
foreach(icon apps/zelvo-lingotak mimetypes/application-x-zelvo-vocabulary)
  cmake_path(GET icon FILENAME name)
  cmake_path(GET icon PARENT_PATH context)
  set(drawing "${CMAKE_SOURCE_DIR}/desktop/icons/${name}.svg")
  configure_file("${drawing}" "${ZL_ICON_THEME}/scalable/${context}/${name}.svg" COPYONLY)
  list(APPEND theme_files "${ZL_ICON_THEME}/scalable/${context}/${name}.svg")
  foreach(size IN LISTS ZL_ICON_SIZES)
    set(png "${ZL_ICON_THEME}/${size}x${size}/${context}/${name}.png")
    if("${drawing}" IS_NEWER_THAN "${png}")
      file(MAKE_DIRECTORY "${ZL_ICON_THEME}/${size}x${size}/${context}")
      execute_process(COMMAND "${RSVG_CONVERT}" --width ${size} --height ${size} --output "${png}" "${drawing}"
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()
    list(APPEND theme_files "${png}")
  endforeach()
endforeach()
zl_embed_named_files("${CMAKE_BINARY_DIR}/generated/icon_files_data.cpp" desktop/icon_files.h themeIconFiles IconFile
                     "${ZL_ICON_THEME}" ${theme_files})
