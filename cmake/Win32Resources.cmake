# Build steps that turn a resource set (resources/: dialogs.json, menus.json, strings.json, the
# PNG pictures) into what windres compiles: BMP and ICO files and a generated resource script.
include_guard(GLOBAL)

# windres takes bitmaps as BMP and icons as ICO; ImageMagick (Debian package imagemagick)
# converts. Debian installs it as convert-im6.q16, with "convert" as an alternative that may be
# shadowed on PATH by something else.
find_program(ZR4700_IMAGE_CONVERT NAMES convert-im6.q16 convert REQUIRED)

# zr4700_convert_pictures(<out-var> <resources-dir> <pictures-dir>)
# Adds the conversions of <resources-dir>/bitmaps/*.png (to N.bmp, N@4x.bmp) and of the icon
# <resources-dir>/icons/N.png with its N-256.png (to N.ico) into <pictures-dir>, and sets
# <out-var> to the files made.
function(zr4700_convert_pictures outVar resourcesDir picturesDir)
  file(GLOB pngs CONFIGURE_DEPENDS ${resourcesDir}/bitmaps/*.png)
  set(made "")
  foreach(png IN LISTS pngs)
    get_filename_component(name ${png} NAME_WE)
    get_filename_component(file ${png} NAME)
    string(REGEX REPLACE "\\.png$" ".bmp" bmpName ${file})
    set(bmp ${picturesDir}/${bmpName})
    # BMP3: the classic 24-bit bitmap, as LoadBitmap and the static control read it.
    add_custom_command(OUTPUT ${bmp}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${picturesDir}
      COMMAND ${ZR4700_IMAGE_CONVERT} ${png} BMP3:${bmp}
      DEPENDS ${png} VERBATIM)
    list(APPEND made ${bmp})
  endforeach()
  file(GLOB icons CONFIGURE_DEPENDS ${resourcesDir}/icons/*.png)
  foreach(png IN LISTS icons)
    get_filename_component(name ${png} NAME_WE)
    if(NOT name MATCHES "^[0-9]+$")
      continue()
    endif()
    set(ico ${picturesDir}/${name}.ico)
    set(large ${resourcesDir}/icons/${name}-256.png)
    set(sources ${png})
    set(sizes "")
    if(EXISTS ${large})
      list(APPEND sources ${large})
      # The title bar's and taskbar's sizes, scaled down from the large picture.
      set(sizes "(" ${large} -resize 16x16 ")" "(" ${large} -resize 48x48 ")")
    endif()
    add_custom_command(OUTPUT ${ico}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${picturesDir}
      COMMAND ${ZR4700_IMAGE_CONVERT} ${sizes} ${sources} ${ico}
      DEPENDS ${sources} VERBATIM)
    list(APPEND made ${ico})
  endforeach()
  set(${outVar} ${made} PARENT_SCOPE)
endfunction()

# zr4700_resource_script(OUTPUT <rc> RESOURCES_DIR <dir> PICTURES_DIR <dir> PICTURES <files...>
#                        [STRING_NAMES_FROM <strings.json>] [NAMES_HEADER <header>])
# Adds the step that writes the resource script <rc> (and the header of string names).
function(zr4700_resource_script)
  cmake_parse_arguments(arg "" "OUTPUT;RESOURCES_DIR;PICTURES_DIR;STRING_NAMES_FROM;NAMES_HEADER"
                        "PICTURES" ${ARGN})
  set(generator ${PROJECT_SOURCE_DIR}/cmake/GenerateResourceScript.cmake)
  set(outputs ${arg_OUTPUT})
  set(options -DRESOURCES_DIR=${arg_RESOURCES_DIR} -DPICTURES_DIR=${arg_PICTURES_DIR}
              -DOUTPUT=${arg_OUTPUT})
  set(inputs ${arg_RESOURCES_DIR}/dialogs.json ${arg_RESOURCES_DIR}/menus.json
             ${arg_RESOURCES_DIR}/strings.json)
  if(arg_STRING_NAMES_FROM)
    list(APPEND options -DSTRING_NAMES_FROM=${arg_STRING_NAMES_FROM})
    list(APPEND inputs ${arg_STRING_NAMES_FROM})
  endif()
  if(arg_NAMES_HEADER)
    list(APPEND options -DNAMES_HEADER=${arg_NAMES_HEADER})
    list(APPEND outputs ${arg_NAMES_HEADER})
  endif()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} ${options} -P ${generator}
    DEPENDS ${generator} ${inputs} ${arg_PICTURES} VERBATIM)
  # windres reads the pictures the script names; rebuild the resources when one changes.
  set_source_files_properties(${arg_OUTPUT} PROPERTIES OBJECT_DEPENDS "${arg_PICTURES}")
endfunction()

# zr4700_resource_library(<target> RESOURCES_DIR <dir> [OUTPUT_DIRECTORY <dir>])
# A resource-only library, local.dll, from a replacement set: its dialogs, menus and strings
# from <dir>, its pictures the program's own, its string names numbered as the program's.
function(zr4700_resource_library target)
  cmake_parse_arguments(arg "" "RESOURCES_DIR;OUTPUT_DIRECTORY" "" ${ARGN})
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  zr4700_resource_script(OUTPUT ${script} RESOURCES_DIR ${arg_RESOURCES_DIR}
                         PICTURES_DIR ${ZR4700_PICTURE_DIR} PICTURES ${ZR4700_PICTURE_FILES}
                         STRING_NAMES_FROM ${PROJECT_SOURCE_DIR}/resources/strings.json)
  add_library(${target} SHARED ${script})
  # No code and no entry point: the library is only ever loaded as data.
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME local LINKER_LANGUAGE CXX)
  target_link_options(${target} PRIVATE -nostdlib -Wl,-e,0 -s)
  if(arg_OUTPUT_DIRECTORY)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${arg_OUTPUT_DIRECTORY})
  endif()
endfunction()
