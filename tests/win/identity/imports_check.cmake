# Every static import of PROGRAMS (comma-separated), the 32-bit ones of QUILM_BUILD_ROOT too, is a
# known DLL or bound by the manifest to the side-by-side store (Wine takes its own comctl32 anyway).
cmake_minimum_required(VERSION 3.20)
file(GLOB shipped $ENV{QUILM_BUILD_ROOT}/win32/[psu]*/*.exe)
string(REPLACE "," ";" programs "${PROGRAMS}")
set(sxs "<dependentAssembly> *;? *<assemblyIdentity type=\"win32\" name=\"Microsoft\\.Windows\\.Common-Controls\" version=\"6\\.0\\.0\\.0\" *;? *processorArchitecture=\"\\*\" publicKeyToken=\"6595b64144ccf1df\" language=\"\\*\"/>")
set(dpi "<asmv3:windowsSettings xmlns=\"http://schemas\\.microsoft\\.com/SMI/2005/WindowsSettings\"> *;? *<dpiAware>true</dpiAware>")
foreach(program ${programs} ${shipped})
  execute_process(COMMAND ${OBJDUMP} -p ${program} OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
  file(STRINGS ${program} strings)  # the manifest's lines among them
  string(TOLOWER "${dump}" dump)
  string(REGEX REPLACE "dll name: (advapi32|gdi32|kernel32|msvcrt|ole32|oleaut32|shell32|user32)\\.dll\n" "" rest "${dump}")
  if(strings MATCHES "${sxs}")
    string(REPLACE "dll name: comctl32.dll\n" "" rest "${rest}")
  endif()
  if(NOT dump MATCHES "dll name: kernel32" OR NOT strings MATCHES "${dpi}" OR rest MATCHES "dll name: [^\n]+")
    message(SEND_ERROR "${program}: no imports read, no system DPI awareness declared, or an import that is no known DLL nor bound by the manifest: ${CMAKE_MATCH_0}")
  endif()
endforeach()
