# The explorer as explore.html's module: faces/, symmetry/, atlas/ and explore/ with
# their own CMakeLists.txt, and the registry, the periodic units, the SVG
# writer and the analysis report from tools/, the same sources as natively.
# faces/ finds GEOS with find_package(GEOS) as natively: GEOS_DIR names the
# WebAssembly build's GEOSConfig.cmake folder (emcmake ignores
# CMAKE_PREFIX_PATH).
#
# GEOS reports an error by throwing inside its C API, which catches the
# throw and returns the error; the face analysis turns errors and degenerate
# drawings into exceptions that the explorer catches. All of that needs C++
# exceptions caught, which Emscripten leaves off by default (a throw then
# ends the page): the same flag for GEOS (web/geos/build.sh), for everything
# from here on and for the link. WebAssembly's own exceptions, which every
# current browser runs, make the page 38 KB smaller and its drag steps about
# a third quicker than Emscripten's JavaScript ones (-fexceptions), which
# route every call that may throw through JavaScript (docs/performance.md).
# The programs above are built without, as they throw nothing.
set(WEB_EXCEPTIONS -fwasm-exceptions CACHE STRING "how GEOS and the explorer catch C++ exceptions")
add_compile_options(${WEB_EXCEPTIONS})

# How the explorer's own code is optimised: for size, -Os, with the
# compiler's inlining kept. Emscripten's -Os and -Oz also turn that
# inlining off (-fno-inline-functions, leaving it to binaryen), so that
# every small accessor of the C++ library stays a call: the drag steps were
# a third slower for it. -Os with -finline-functions is 20 KB smaller than
# -O2 and as quick (docs/performance.md).
set(WEB_EXPLORER_OPTIMISE -Os -finline-functions CACHE STRING "how the explorer's code is optimised")
add_compile_options(${WEB_EXPLORER_OPTIMISE})
# The explorer's code is LLVM bitcode as GEOS's is (web/geos/build.sh), and
# all of it is optimised at once when linked: 7 KB smaller, steps as quick.
add_compile_options(-flto)
# The linked module is optimised again by binaryen, for size: 5 KB smaller
# than at -O2, with drag steps as quick.
set(WEB_LINK_OPTIMISE -Oz CACHE STRING "how the explorer's linked module is optimised")
# The compiler, and the link in its optimisation of the bitcode, inline a
# call where it costs at most 50 instructions, as clang's -Os does: the
# link optimises as -O2 does, whose 225 would apply to GEOS's code (and to
# the explorer's built at -O2). 11 KB smaller than 75, steps as quick.
set(inline_limit 50)
set(inlining -mllvm -inline-threshold=${inline_limit})
add_compile_options("SHELL:${inlining}")
set(link_inlining -Wl,-mllvm,-inline-threshold=${inline_limit})

add_subdirectory(${source_root}/faces faces)
add_subdirectory(${source_root}/symmetry symmetry)
# Eigen is headers only: the same headers as natively, which emcmake's
# search paths would not find.
add_library(Eigen3::Eigen INTERFACE IMPORTED)
set_target_properties(Eigen3::Eigen PROPERTIES INTERFACE_INCLUDE_DIRECTORIES /usr/include/eigen3)
add_subdirectory(${source_root}/family family)

add_subdirectory(${source_root}/atlas atlas)

get_property(tiling_programs GLOBAL PROPERTY TILING_PROGRAMS)
# The constructions too, for the explorer and their own pages alike: 9 KB
# less in the explorer, 0.2 KB in each page.
foreach(program IN LISTS tiling_programs)
  target_compile_options(${program}_tiling PRIVATE ${WEB_EXPLORER_OPTIMISE} -flto "SHELL:${inlining}")
endforeach()
add_library(tilings_registry STATIC ${source_root}/tools/registry.cpp ${source_root}/tools/periodic.cpp)
target_link_libraries(tilings_registry PUBLIC atlas)
foreach(program IN LISTS tiling_programs)
  target_link_libraries(tilings_registry PUBLIC ${program}_tiling)
endforeach()
add_library(tilings_svg STATIC ${source_root}/tools/export/svg.cpp
                               ${source_root}/tools/export/write_whole.cpp)
target_link_libraries(tilings_svg PUBLIC framework faces)
# Cut files as SVG; PDF needs Cairo, which the page does without.
add_library(tilings_cut STATIC ${source_root}/tools/export/cut.cpp)
target_link_libraries(tilings_cut PUBLIC faces framework PRIVATE GEOS::geos_c)
add_library(tilings_analyse STATIC ${source_root}/tools/analyse/report.cpp
                                   ${source_root}/tools/analyse/identity_table.cpp)
target_link_libraries(tilings_analyse PUBLIC faces symmetry family framework)

add_subdirectory(${source_root}/shape shape)
add_subdirectory(${source_root}/explore explore)

# Code that no drag step runs (the atlas's tables, the files written on a
# key, the link read at start and written on letting go, the registry's
# lookups) is optimised for size alone, Emscripten's -Oz with no inlining:
# it is a third of the explorer's own code, and its speed is never felt
# (docs/performance.md).
set(WEB_COLD_OPTIMISE -Oz CACHE STRING "how the explorer's code off the drag path is optimised")
target_compile_options(atlas PRIVATE ${WEB_COLD_OPTIMISE})
target_compile_options(tilings_svg PRIVATE ${WEB_COLD_OPTIMISE})
target_compile_options(tilings_cut PRIVATE ${WEB_COLD_OPTIMISE})
target_compile_options(tilings_analyse PRIVATE ${WEB_COLD_OPTIMISE})
set_source_files_properties(${source_root}/tools/registry.cpp TARGET_DIRECTORY tilings_registry
                            PROPERTIES COMPILE_OPTIONS ${WEB_COLD_OPTIMISE})
set_source_files_properties(${source_root}/shape/link.cpp TARGET_DIRECTORY tilings_shape
                            PROPERTIES COMPILE_OPTIONS ${WEB_COLD_OPTIMISE})
set_source_files_properties(${source_root}/explore/link.cpp TARGET_DIRECTORY explore
                            PROPERTIES COMPILE_OPTIONS ${WEB_COLD_OPTIMISE})

# tilings-explore becomes explore.js and explore.wasm; web/site/explore.js
# starts it with the page's address as its argument.
# The analysis of a reshaped block needs more than the programs' fixed 16 MB.
target_link_options(tilings-explore PRIVATE ${web_link_options} ${WEB_EXCEPTIONS} ${WEB_LINK_OPTIMISE} ${link_inlining}
                    -sALLOW_MEMORY_GROWTH=1 "SHELL:--post-js ${CMAKE_SOURCE_DIR}/explore-post.js")
set_target_properties(tilings-explore PROPERTIES OUTPUT_NAME explore RUNTIME_OUTPUT_DIRECTORY ${site}
                      LINK_DEPENDS "${compat}/post.js;${CMAKE_SOURCE_DIR}/explore-post.js;${CMAKE_SOURCE_DIR}/minify.cjs")
# Its JavaScript is shortened once linked (web/minify.cjs): 6 KB less after
# gzip.
set_property(TARGET tilings-explore PROPERTY RULE_LAUNCH_LINK ${CMAKE_SOURCE_DIR}/link-and-minify.sh)

# GEOS's errors come back through its C API, and the face analysis's
# exceptions are caught, in WebAssembly as natively: run under Node.js by
# tests/web (web_geos_errors).
find_package(GEOS 3.10 REQUIRED)
add_executable(geos_errors_test ${CMAKE_SOURCE_DIR}/test/geos_errors.cpp)
target_link_libraries(geos_errors_test PRIVATE faces GEOS::geos_c)
target_link_options(geos_errors_test PRIVATE ${WEB_EXCEPTIONS} -sENVIRONMENT=node -sWASM_ASYNC_COMPILATION=0)
set_target_properties(geos_errors_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/test)
