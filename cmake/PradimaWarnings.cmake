# Warnings for everything built here. With PRADIMA_WARNINGS_AS_ERRORS a
# compiler or linker warning fails the build, so none can creep in unseen.
option(PRADIMA_WARNINGS_AS_ERRORS "Fail the build on any compiler or linker warning" OFF)

if(MSVC)
  add_compile_options(/W4)
else()
  add_compile_options(-Wall -Wextra -Wpedantic)
endif()

if(PRADIMA_WARNINGS_AS_ERRORS)
  # Initialises COMPILE_WARNING_AS_ERROR on every target made from here on.
  set(CMAKE_COMPILE_WARNING_AS_ERROR ON)
  if(NOT MSVC)
    add_link_options(LINKER:--fatal-warnings)
  endif()
endif()
