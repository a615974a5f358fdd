# Windows binaries carry their C++ runtime inside, so the DLL loads into the
# spreadsheet application with only Windows system DLLs beside it.
if(WIN32 AND NOT MSVC)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()
