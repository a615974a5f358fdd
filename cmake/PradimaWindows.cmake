# Windows binaries carry their C++ runtime inside, so the DLL loads into the
# spreadsheet application with only Windows system DLLs beside it.
if(WIN32 AND NOT MSVC)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)

  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The .def files export the stdcall entry points under the names Windows
    # looks up (DllGetClassObject); the compiler decorates them with their
    # argument size (DllGetClassObject@12). This tells the linker to match
    # the two, which it otherwise does with a warning per export.
    add_link_options("$<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,SHARED_LIBRARY>:LINKER:--enable-stdcall-fixup>")
  endif()

  # Where widl, compiling the type library, finds Wine's system IDL files and
  # the type libraries that pradima.idl imports (stdole2.tlb).
  set(PRADIMA_WINE_IDL_INCLUDE_DIR /usr/include/wine/wine/windows CACHE PATH
      "Wine's system IDL files (oaidl.idl and what it imports), read by widl")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(wine_type_libraries /usr/lib/x86_64-linux-gnu/wine/i386-windows /usr/lib/i386-linux-gnu/wine/i386-windows
                            /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
  else()
    set(wine_type_libraries /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
  endif()
  set(PRADIMA_WIDL_LIBRARY_DIRS "${wine_type_libraries}" CACHE STRING
      "Directories, as a list, in which widl looks for imported type libraries (stdole2.tlb)")
endif()
