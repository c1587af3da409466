# Checks the resource script that GenerateResourceScript.cmake writes against the JSON it was
# written from: a few dialogs' controls, menu items and strings, the numbers of named strings,
# and the quoting of texts. Run with -DSOURCE_DIR=<repository> -DWORK_DIR=<scratch folder>.
cmake_minimum_required(VERSION 3.25)

set(failures 0)
macro(expect_line rc line what)
  string(FIND "${rc}" "${line}\n" found)
  if(found EQUAL -1)
    message(SEND_ERROR "${what}: the script has no line\n  ${line}")
    math(EXPR failures "${failures} + 1")
  endif()
endmacro()

function(generate out resourcesDir)
  file(REMOVE_RECURSE ${WORK_DIR}/pictures)
  file(MAKE_DIRECTORY ${WORK_DIR}/pictures)
  file(WRITE ${WORK_DIR}/pictures/152.bmp "")
  file(WRITE ${WORK_DIR}/pictures/152@4x.bmp "")
  file(WRITE ${WORK_DIR}/pictures/102.ico "")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DRESOURCES_DIR=${resourcesDir} -DPICTURES_DIR=${WORK_DIR}/pictures
            -DOUTPUT=${WORK_DIR}/out.rc -DNAMES_HEADER=${WORK_DIR}/names.h
            -DSTRING_NAMES_FROM=${SOURCE_DIR}/resources/strings.json
            -P ${SOURCE_DIR}/cmake/GenerateResourceScript.cmake
    RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the generator failed on ${resourcesDir}")
  endif()
  file(READ ${WORK_DIR}/out.rc rc)
  set(${out} "${rc}" PARENT_SCOPE)
endfunction()

set(resources ${SOURCE_DIR}/resources)
file(READ ${resources}/dialogs.json dialogs)
generate(rc ${resources})

# Dialogs: each case is a dialog, the index of a control in its template, the class expected.
foreach(case "102;2;EDIT" "102;9;msctls_updown32" "102;23;COMBOBOX" "110;1;msctls_progress32"
             "146;14;msctls_trackbar32" "168;49;EDIT" "100;3;BUTTON")
  list(GET case 0 dialog)
  list(GET case 1 index)
  list(GET case 2 class)
  string(JSON control GET "${dialogs}" ${dialog} template controls ${index})
  string(JSON id ERROR_VARIABLE noId GET "${control}" id)
  if(noId)
    set(id -1)
  endif()
  string(JSON textKey ERROR_VARIABLE noText GET "${control}" text)
  set(text "")
  if(NOT noText)
    string(JSON text GET "${dialogs}" ${dialog} ${textKey})
  endif()
  string(JSON x GET "${control}" at 0)
  string(JSON y GET "${control}" at 1)
  string(JSON w GET "${control}" at 2)
  string(JSON h GET "${control}" at 3)
  string(REGEX MATCH "CONTROL \"[^\n]*\", ${id}, \"${class}\", [^\n]*, ${x}, ${y}, ${w}, ${h}\n"
         line "${rc}")
  if(NOT line)
    message(SEND_ERROR "dialog ${dialog}: no ${class} ${id} at ${x}, ${y}, ${w}, ${h}")
    math(EXPR failures "${failures} + 1")
  elseif(NOT line MATCHES "^CONTROL \"${text}\",")
    message(SEND_ERROR "dialog ${dialog}: control ${id} does not read \"${text}\": ${line}")
    math(EXPR failures "${failures} + 1")
  endif()
endforeach()
string(JSON caption GET "${dialogs}" 102 caption)
expect_line("${rc}" "102 DIALOGEX 0, 0, 512, 222" "dialog 102's size")
expect_line("${rc}" "CAPTION \"${caption}\"" "dialog 102's caption")

# Menus and strings.
expect_line("${rc}" "        MENUITEM \"&Programming...\", 40006" "menu 129")
expect_line("${rc}" "    MENUITEM \"\", 65535" "menu 129's empty first item")
expect_line("${rc}" "            MENUITEM \"to Right\", 32781" "menu 137's nested pop-up")
expect_line("${rc}" "    32800, \"ZR-4700 - keyboard programmer  -  [%s]\"" "string 32800")
expect_line("${rc}" "152 BITMAP \"${WORK_DIR}/pictures/152.bmp\"" "bitmap 152")
expect_line("${rc}" "4152 BITMAP \"${WORK_DIR}/pictures/152@4x.bmp\"" "bitmap 152 at 4x")
expect_line("${rc}" "102 ICON \"${WORK_DIR}/pictures/102.ico\"" "icon 102")

# A named string has the number the header gives it.
file(READ ${WORK_DIR}/names.h names)
string(REGEX MATCH "\\{\"edit\\.undo\", ([0-9]+)\\}" entry "${names}")
set(undoId ${CMAKE_MATCH_1})
expect_line("${rc}" "    ${undoId}, \"&Undo\"" "the named string edit.undo")

# A replacement set: quotes doubled, backslashes and line breaks escaped, and its named strings
# numbered as the program's own.
file(READ ${resources}/strings.json strings)
string(JSON strings SET "${strings}" 32788 "\"say \\\"untitled\\\" in C:\\\\layouts\\nnow\"")
file(MAKE_DIRECTORY ${WORK_DIR}/replacement)
file(WRITE ${WORK_DIR}/replacement/strings.json "${strings}")
file(COPY ${resources}/dialogs.json ${resources}/menus.json DESTINATION ${WORK_DIR}/replacement)
generate(replaced ${WORK_DIR}/replacement)
expect_line("${replaced}" "    32788, \"say \"\"untitled\"\" in C:\\\\layouts\\nnow\"" "quoting")
expect_line("${replaced}" "    ${undoId}, \"&Undo\"" "a replacement's named string")

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} check(s) of the resource script failed")
endif()
message(STATUS "resource script: every check passed")
