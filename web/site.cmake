# The pages around the programs, written at configure time into the site:
# index.html (a picture and the one-line summary of each program, taken from
# the registry of tools/registry.cpp, and its identity card from
# docs/identity.tsv), one NAME.html per program (a browser keeps only so many
# WebGL contexts), the shared page.js and style.css, the filled pictures
# of docs/pictures, and explore.html with its explore-page.js; atlas.html, a
# picture and summary of each of the atlas's named tilings (from its tables
# in atlas/) with its identity card. Every entry and every program page
# links to its tiling in the explorer; an atlas entry's picture opens it
# there.
set(pages ${CMAKE_SOURCE_DIR}/site)
set(registry ${source_root}/tools/registry.cpp)
set(identities ${source_root}/docs/identity.tsv)
set(atlas_tables ${source_root}/atlas/pentagons_1_5.cpp ${source_root}/atlas/pentagons_6_15.cpp
  ${source_root}/atlas/archimedean.cpp)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${registry} ${identities} ${atlas_tables})

# What each tiling is, as the native analysis found it (the site cannot run
# it): name, group, orbifold, orbits, faces per period, pentagon types, tab
# separated, "-" for nothing. The card shows them one a line.
file(STRINGS ${identities} identity_rows REGEX "^[a-z0-9.-]+\t")
foreach(row IN LISTS identity_rows)
  string(REPLACE "\t" ";" fields "${row}")
  list(GET fields 0 name)
  list(GET fields 1 group)
  list(GET fields 2 orbifold)
  list(GET fields 3 orbits)
  list(GET fields 4 per_period)
  list(GET fields 5 types)
  if(group STREQUAL "-")
    set(card "<span class=\"group\">no wallpaper group</span>")
  else()
    set(card "<span class=\"group\">${group} (${orbifold})</span> <span>${orbits}</span>")
  endif()
  if(NOT per_period STREQUAL "-")
    string(APPEND card " <span>per period: ${per_period}</span>")
  endif()
  if(types MATCHES ",")
    string(APPEND card " <span>pentagon types ${types}</span>")
  elseif(NOT types STREQUAL "-")
    string(APPEND card " <span>pentagon type ${types}</span>")
  endif()
  set(card_${name} "${card}")
endforeach()

# Registry rows start {"NAME", NAME::buildScene, "SUMMARY", and may go on
# on the next line.
set(row_pattern "^ *\\{\"([a-z0-9]+)\", [a-z0-9]+::buildScene, \"([^\"]*)\"(\\},?|,)$")
file(STRINGS ${registry} rows REGEX "${row_pattern}")
get_property(built GLOBAL PROPERTY TILING_PROGRAMS)
list(LENGTH rows row_count)
list(LENGTH built built_count)
if(NOT row_count EQUAL built_count)
  message(FATAL_ERROR "tools/registry.cpp lists ${row_count} programs, programs/ holds ${built_count}")
endif()

set(ENTRIES "")
foreach(row IN LISTS rows)
  string(REGEX REPLACE "${row_pattern}" "\\1" NAME "${row}")
  string(REGEX REPLACE "${row_pattern}" "\\2" SUMMARY "${row}")
  if(NOT NAME IN_LIST built)
    message(FATAL_ERROR "tools/registry.cpp names ${NAME}, which programs/ does not build")
  endif()
  if(NOT DEFINED card_${NAME})
    message(FATAL_ERROR "docs/identity.tsv says nothing of ${NAME}: write it again with "
                        "tilings-analyse all --identity > docs/identity.tsv")
  endif()
  configure_file(${pages}/page.html.in ${site}/${NAME}.html @ONLY)
  configure_file(${source_root}/docs/pictures/${NAME}.png ${site}/pictures/${NAME}.png COPYONLY)
  string(APPEND ENTRIES
    "    <li><a href=\"${NAME}.html\"><img src=\"pictures/${NAME}.png\" alt=\"${NAME}\">"
    "<code>${NAME}</code></a> ${SUMMARY}\n      <p class=\"identity\">${card_${NAME}}</p>\n"
    "      <p class=\"explore\"><a href=\"explore.html?tiling=${NAME}&amp;keep=\">Reshape it in the explorer</a></p></li>\n")
endforeach()
configure_file(${pages}/index.html.in ${site}/index.html @ONLY)

# The atlas's tables name each entry and then say what it shows:
# {"pentagon-type-6", "C + E = 180, ...", or around("archimedean-4.8.8",
# "octagons with square gaps", ..., the two strings on one line or two.
set(atlas_pattern "\"(pentagon-type-[0-9]+|archimedean-[0-9.]+)\",[ \t\r\n]+\"([^\"]*)\"")
set(ATLAS_ENTRIES "")
set(atlas_count 0)
foreach(table IN LISTS atlas_tables)
  file(READ ${table} text)
  string(REGEX MATCHALL "${atlas_pattern}" found "${text}")
  foreach(match IN LISTS found)
    string(REGEX REPLACE "${atlas_pattern}" "\\1" NAME "${match}")
    string(REGEX REPLACE "${atlas_pattern}" "\\2" SUMMARY "${match}")
    if(NOT DEFINED card_${NAME})
      message(FATAL_ERROR "docs/identity.tsv says nothing of ${NAME}: write it again with "
                          "tilings-analyse all --identity > docs/identity.tsv")
    endif()
    configure_file(${source_root}/docs/pictures/${NAME}.png ${site}/pictures/${NAME}.png COPYONLY)
    string(APPEND ATLAS_ENTRIES
      "    <li><a href=\"explore.html?tiling=${NAME}&amp;keep=\"><img src=\"pictures/${NAME}.png\" "
      "alt=\"${NAME}\" loading=\"lazy\"><code>${NAME}</code></a> ${SUMMARY}\n"
      "      <p class=\"identity\">${card_${NAME}}</p></li>\n")
    math(EXPR atlas_count "${atlas_count} + 1")
  endforeach()
endforeach()
if(NOT atlas_count EQUAL 26)
  message(FATAL_ERROR "found ${atlas_count} of the atlas's 26 entries in its tables")
endif()
configure_file(${pages}/atlas.html.in ${site}/atlas.html @ONLY)
configure_file(${pages}/page.js ${site}/page.js COPYONLY)
configure_file(${pages}/explore.html.in ${site}/explore.html COPYONLY)
configure_file(${pages}/explore-page.js ${site}/explore-page.js COPYONLY)
configure_file(${pages}/style.css ${site}/style.css COPYONLY)
