# SPDX-License-Identifier: MIT
# The Windows build (cross-built with MinGW-w64 by scripts/build-windows.sh): the wide
# Win32 API, Windows 10 as the oldest system, and Wine to run the tests.
# gmtime_r and localtime_r, which MinGW-w64 offers when asked.
add_compile_definitions(UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0A00 _POSIX_THREAD_SAFE_FUNCTIONS)
# Some test files hold more sections than the plain COFF object allows.
add_compile_options(-Wa,-mbig-obj)

# The DLLs a program needs at run time: the dependencies' prefixes and MinGW's own runtime.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE tevusb_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(TEVUSB_MINGW_RUNTIME_DIR ${tevusb_libstdcxx} DIRECTORY)
set(TEVUSB_WINPTHREAD_DIR /usr/${TEVUSB_MINGW_TRIPLET}/lib)
set(tevusb_dll_dirs ${TEVUSB_MINGW_RUNTIME_DIR} ${TEVUSB_WINPTHREAD_DIR})
foreach(prefix ${CMAKE_PREFIX_PATH})
  list(APPEND tevusb_dll_dirs ${prefix}/bin)
endforeach()
list(TRANSFORM tevusb_dll_dirs PREPEND "Z:")
list(JOIN tevusb_dll_dirs "\\;" TEVUSB_WINE_DLL_PATH)

# The fonts the tests draw with under Wine, which has no Arial: Liberation Sans alone, with
# Arial's measurements, as fontconfig gives it on Linux. Qt's font list there puts some
# font it has in place of a missing family; with only this one it is the right one.
set(TEVUSB_WINE_FONT_DIR ${CMAKE_BINARY_DIR}/wine-fonts)
file(REMOVE_RECURSE ${TEVUSB_WINE_FONT_DIR})
file(MAKE_DIRECTORY ${TEVUSB_WINE_FONT_DIR})
foreach(face Regular Bold Italic BoldItalic)
  find_file(tevusb_font_${face} LiberationSans-${face}.ttf
            PATHS /usr/share/fonts/truetype/liberation NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
            REQUIRED)
  file(CREATE_LINK ${tevusb_font_${face}} ${TEVUSB_WINE_FONT_DIR}/LiberationSans-${face}.ttf
       SYMBOLIC)
endforeach()

# Tests (and gtest's listing of them) run through Wine with that search path and with the
# Qt variables the tests set passed on, which Wine would otherwise drop.
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
# Listing a test program's cases under Wine takes seconds: do it when the tests run, not
# after every link.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)

# The program icon for Explorer, the Start menu and the .tev file type, drawn from the
# same picture as the window's icon.
find_program(TEVUSB_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(TEVUSB_ICOTOOL icotool REQUIRED)
set(TEVUSB_ICO ${CMAKE_BINARY_DIR}/windows/tevusb.ico)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/windows)
set(tevusb_ico_pngs)
foreach(side 16 24 32 48 64 256)
  set(png ${CMAKE_BINARY_DIR}/windows/icon_${side}.png)
  execute_process(COMMAND ${TEVUSB_RSVG_CONVERT} -w ${side} -h ${side} -o ${png}
                          ${PROJECT_SOURCE_DIR}/resources/icon_105.svg COMMAND_ERROR_IS_FATAL ANY)
  list(APPEND tevusb_ico_pngs ${png})
endforeach()
# The largest picture is stored as PNG, as Windows expects at that size.
list(POP_BACK tevusb_ico_pngs tevusb_large_png)
execute_process(COMMAND ${TEVUSB_ICOTOOL} -c -o ${TEVUSB_ICO} ${tevusb_ico_pngs}
                        -r ${tevusb_large_png} COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/resources/icon_105.svg)

# Version information and the icon for one program: what Explorer shows in its details.
function(tevusb_windows_program target description)
  set(TEVUSB_RC_NAME ${target})
  set(TEVUSB_RC_FILE ${target}.exe)
  set(TEVUSB_RC_DESCRIPTION ${description})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in
                 ${CMAKE_BINARY_DIR}/windows/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/windows/${target}.rc)
endfunction()

# pkg-config looks only in the cross-built prefixes (never at the build machine's own
# libraries) and names the static libraries' own dependencies (hidapi needs SetupAPI).
set(tevusb_pc_dirs)
foreach(prefix ${CMAKE_PREFIX_PATH})
  list(APPEND tevusb_pc_dirs ${prefix}/lib/pkgconfig ${prefix}/share/pkgconfig)
endforeach()
list(JOIN tevusb_pc_dirs ":" tevusb_pc_libdir)
set(ENV{PKG_CONFIG_LIBDIR} "${tevusb_pc_libdir}")
set(ENV{PKG_CONFIG_PATH} "")
set(PKG_CONFIG_ARGN --static)
