# The build settings of every target, in one place. Included by the top
# CMakeLists.txt before any target is made: the settings of the whole build
# come first, then wendrel_target(), which each target calls for its own:
#
#   wendrel_target(<target> [PRODUCT] [STRIP])
#
#   PRODUCT  part of wendrel-idler.exe: built for Windows XP SP3 and later
#   STRIP    an executable linked without symbols

if(WENDREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
if(WENDREL_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
endif()

if(WIN32)
  # Windows XP SP3 is the oldest system the program runs on: _WIN32_WINNT
  # (PRODUCT) hides from the headers most of what XP lacks, and XP's loader
  # refuses a subsystem version above 5.1 (32-bit) or 5.2 (64-bit).
  # tests/xp checks the result. The tests run only under Wine and may use
  # newer functions.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(WENDREL_BITS 32)
    set(WENDREL_XP_VERSION 5,--minor-subsystem-version,1,--major-os-version,5,--minor-os-version,1)
    # The program throws and catches nothing (app/lean_runtime_win32.cpp):
    # an exception would find no handler and end it in std::terminate before
    # any frame is unwound, with these tables or without. On 32-bit Windows
    # they serve C++ exceptions only (the system's own exception handling
    # walks the frame chain at FS:[0]), so the program's code (PRODUCT) goes
    # without them: some 21 KB. The 64-bit system reads its unwind tables
    # itself.
    set(WENDREL_LEAN_CODE -fno-exceptions -fno-asynchronous-unwind-tables)
  else()
    set(WENDREL_BITS 64)
    set(WENDREL_XP_VERSION 5,--minor-subsystem-version,2,--major-os-version,5,--minor-os-version,2)
  endif()
  add_link_options(-Wl,--major-subsystem-version,${WENDREL_XP_VERSION})
  # With -Os (the MinSizeRel build), what nothing calls is left out.
  add_compile_options(-ffunction-sections -fdata-sections)
  add_link_options(-Wl,--gc-sections)
endif()

function(wendrel_target target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "PRODUCT;STRIP" "" "")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "wendrel_target(${target}): unknown ${arg_UNPARSED_ARGUMENTS}")
  endif()

  # A warning fails the build, of the program, the tests and the tools alike.
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(WIN32)
    # A library's headers include <windows.h> for its users too.
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      set(scope PRIVATE)
    else()
      set(scope PUBLIC)
    endif()
    target_compile_definitions(${target} ${scope} WIN32_LEAN_AND_MEAN NOMINMAX)
    if(arg_PRODUCT)
      target_compile_definitions(${target} PRIVATE _WIN32_WINNT=0x0501 WINVER=0x0501)
      target_compile_options(${target} PRIVATE ${WENDREL_LEAN_CODE})
    endif()
  endif()
  if(arg_STRIP)
    target_link_options(${target} PRIVATE -s)
  endif()
endfunction()
