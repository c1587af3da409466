# Fails when a source file includes something its layer may not see. The layers, from the bottom:
# src/engine, src/core (on the engine), and the front ends (src/qt, src/win32) on the core.
#   -DROOT=<source tree> -DRULE=<rule>
#   RULE=no-qt           engine and core include no Qt header (<Q...>, <Qt...>, <qglobal.h>) and
#                        the core no Win32 header either
#   RULE=engine-alone    the engine includes nothing of the core or a front end
#   RULE=qt-private      nothing outside src/qt includes a file of src/qt
set(qt_header "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|Qt|q[a-z]+\\.h)")
set(win32_header "^[ \t]*#[ \t]*include[ \t]*<(windows|winioctl|commctrl|shellapi)\\.h>")
set(upper_layer "^[ \t]*#[ \t]*include[ \t]*\"(core|qt|win32)/")
set(qt_folder "^[ \t]*#[ \t]*include[ \t]*\"qt/")

function(sources_of out)
  set(files)
  foreach(dir IN LISTS ARGN)
    file(GLOB_RECURSE found "${ROOT}/${dir}/*.cpp" "${ROOT}/${dir}/*.h")
    list(APPEND files ${found})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

set(checks) # pairs of "folders|pattern"
if(RULE STREQUAL "no-qt")
  list(APPEND checks "src/engine,src/core|${qt_header}" "src/core|${win32_header}")
elseif(RULE STREQUAL "engine-alone")
  list(APPEND checks "src/engine|${upper_layer}")
elseif(RULE STREQUAL "qt-private")
  list(APPEND checks "src/engine,src/core,src/win32,tools,fuzz|${qt_folder}")
else()
  message(FATAL_ERROR "unknown rule '${RULE}'")
endif()

set(offenders "")
set(count 0)
foreach(check IN LISTS checks)
  string(FIND "${check}" "|" bar)
  string(SUBSTRING "${check}" 0 ${bar} folders)
  math(EXPR after "${bar} + 1")
  string(SUBSTRING "${check}" ${after} -1 pattern)
  string(REPLACE "," ";" folders "${folders}")
  sources_of(files ${folders})
  list(LENGTH files n)
  math(EXPR count "${count} + ${n}")
  foreach(source IN LISTS files)
    file(STRINGS "${source}" includes REGEX "${pattern}")
    if(includes)
      file(RELATIVE_PATH shown "${ROOT}" "${source}")
      list(APPEND offenders "${shown}: ${includes}")
    endif()
  endforeach()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "no sources found under ${ROOT}")
endif()
if(offenders)
  string(REPLACE ";" "\n" offenders "${offenders}")
  message(FATAL_ERROR "includes that cross a layer (${RULE}):\n${offenders}")
endif()
message(STATUS "${count} sources checked (${RULE}): no include crosses a layer")
