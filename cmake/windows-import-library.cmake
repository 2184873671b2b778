# Remakes a DLL's import library so that callers' decorated stdcall
# references (_f@8) bind to the DLL's undecorated export (f). The linker's
# own import library, made with --kill-at, drops the decoration from the
# symbols too, and then nothing links against it.
#   cmake -DDLLTOOL=... -DDEF=exports.def -DDLL=name.dll -DIMPLIB=libname.dll.a -P windows-import-library.cmake
file(STRINGS ${DEF} lines)
set(decorated "EXPORTS\n")
foreach(line IN LISTS lines)
  # "    f = f@8 @1" (the linker's --output-def) becomes "    f@8 @1".
  if(line MATCHES "^[ \t]+[^ ]+ = ([^ ]+)( @[0-9]+)?")
    string(APPEND decorated "    ${CMAKE_MATCH_1}${CMAKE_MATCH_2}\n")
  elseif(line MATCHES "^[ \t]+([^ =]+)( @[0-9]+)?")
    string(APPEND decorated "    ${CMAKE_MATCH_1}${CMAKE_MATCH_2}\n")
  endif()
endforeach()
file(WRITE ${DEF}.decorated ${decorated})
get_filename_component(dll_name ${DLL} NAME)
execute_process(COMMAND ${DLLTOOL} -k -d ${DEF}.decorated -D ${dll_name} -l ${IMPLIB} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "dlltool could not make ${IMPLIB}")
endif()
