# Every library a program imports statically must be one the system maps
# from its known DLLs, or be bound through the program's manifest to the
# side-by-side store: anything else is searched for beside the program
# first, before WinMain can restrict the search.  Read from the files
# themselves (objdump -p), since Wine loads its own comctl32 whatever lies
# beside a program.  Inputs: OBJDUMP, PROGRAMS (;-separated); the 32-bit
# programs of QUILM_BUILD_ROOT/win32 are checked too when they are there.
cmake_minimum_required(VERSION 3.20)
set(known advapi32 gdi32 kernel32 msvcrt ole32 oleaut32 shell32 user32)
set(programs ${PROGRAMS})
foreach(name setup/Setup uninstall/Uninstall peruser/QuilmUser)
  if(EXISTS "$ENV{QUILM_BUILD_ROOT}/win32/${name}.exe")
    list(APPEND programs "$ENV{QUILM_BUILD_ROOT}/win32/${name}.exe")
  endif()
endforeach()
set(failures "")
foreach(program ${programs})
  execute_process(COMMAND ${OBJDUMP} -p ${program} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "objdump -p ${program} failed")
  endif()
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
  if(NOT imports)
    string(APPEND failures "${program}: no imports read\n")
  endif()
  # The manifest: resource type 24, name 1, its text between these marks.
  string(REGEX MATCH "\n[0-9a-f]+   Entry: ID: 0x000018[^\n]*\n[^\n]*\n[0-9a-f]+     Entry: ID: 0x000001"
         manifest_resource "${dump}")
  file(STRINGS ${program} lines)
  string(REGEX MATCH "<assembly .*</assembly>" manifest "${lines}")
  set(common_controls "<dependency> *;? *<dependentAssembly> *;? *<assemblyIdentity type=\"win32\" name=\"Microsoft\\.Windows\\.Common-Controls\" version=\"6\\.0\\.0\\.0\" *;? *processorArchitecture=\"\\*\" publicKeyToken=\"6595b64144ccf1df\" language=\"\\*\"/>")
  foreach(import ${imports})
    string(REGEX REPLACE "DLL Name: (.*)\\.[dD][lL][lL]" "\\1" dll "${import}")
    string(TOLOWER "${dll}" dll)
    if(dll IN_LIST known)
      continue()
    elseif(dll STREQUAL "comctl32" AND manifest_resource AND manifest MATCHES "${common_controls}")
      continue()
    endif()
    string(APPEND failures "${program}: ${import} is no known DLL and not bound by the manifest\n")
  endforeach()
  message(STATUS "${program}: ${imports}")
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
