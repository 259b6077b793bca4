# Warnings every target of ours builds with; they must stay clean.
add_library(veltrane_warnings INTERFACE)
target_compile_options(veltrane_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual -Wformat=2
  -Wimplicit-fallthrough)
if(VELTRANE_WARNINGS_AS_ERRORS)
  target_compile_options(veltrane_warnings INTERFACE -Werror)
endif()
