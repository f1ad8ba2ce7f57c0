# Makes the site from the program pages Emscripten wrote:
#
#   cmake -DSOURCE_DIR=<repository> -DPAGES_DIR=<raw program pages>
#         -DSITE_DIR=<site> -DVERSION=<version> [-DZIP=<archive.zip>]
#         [-DRSVG_CONVERT=<rsvg-convert>] [-DSCORM_DIR=<packages' folder>]
#         -P site/site.cmake
#
# The site: the start page, both program pages, the web app's manifest,
# its icons (rendered from data/icons/scalable) and the service worker,
# optionally also as a zip archive to deploy.
#
# Every file of the site is stamped with the build's digest: the SHA-256
# of the version and of every file's name and SHA-256, each file taken
# with the placeholder where the digest goes, cut to 16 hex digits. Same
# inputs, same digest; any change to a page, an icon, the manifest, the
# service worker or the version makes a new one, and with it a new cache
# for the service worker.
cmake_minimum_required(VERSION 3.22)
foreach(variable SOURCE_DIR PAGES_DIR SITE_DIR VERSION)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "site.cmake: ${variable} not given")
  endif()
endforeach()
if(NOT RSVG_CONVERT)
  find_program(RSVG_CONVERT rsvg-convert REQUIRED)
endif()
include(${SOURCE_DIR}/cmake/SvgDataUrl.cmake)
set(site ${SOURCE_DIR}/site)
set(icons ${SOURCE_DIR}/data/icons/scalable)

# The icons, each a rendering of a program's icon: as it is ("any"), and on
# a solid background for launchers that cut their own shape: "maskable"
# with the artwork inside the central circle of 80 % of the size that
# every mask keeps, "touch" (the iPad's home screen, a rounded square)
# inside its rounded corners.
file(REMOVE_RECURSE ${SITE_DIR}/icons)
file(MAKE_DIRECTORY ${SITE_DIR}/icons)
set(background "#fdfaf2")
function(render name program size kind)
  if(kind STREQUAL "any")
    set(artwork ${size})
  elseif(kind STREQUAL "maskable")
    # The artwork's farthest point, its frame's rounded corner, lies at
    # 0.61 of its width from the centre: at 5/8 of the size that is 0.38.
    math(EXPR artwork "${size} * 5 / 8")
  else()
    math(EXPR artwork "${size} * 4 / 5")
  endif()
  math(EXPR offset "(${size} - ${artwork}) / 2")
  set(options -w ${artwork} -h ${artwork})
  if(NOT kind STREQUAL "any")
    list(APPEND options --page-width ${size} --page-height ${size} --left ${offset} --top ${offset}
      -b ${background})
  endif()
  execute_process(COMMAND ${RSVG_CONVERT} ${options} -o ${SITE_DIR}/icons/${name}
    ${icons}/de.wellenlehre.${program}.svg COMMAND_ERROR_IS_FATAL ANY)
  set(rendered ${rendered} icons/${name} PARENT_SCOPE)
endfunction()
set(rendered)
render(wavesum-192.png wavesum 192 any)
render(wavesum-512.png wavesum 512 any)
render(wavesum-maskable-192.png wavesum 192 maskable)
render(wavesum-maskable-512.png wavesum 512 maskable)
render(apple-touch-icon.png wavesum 180 touch)
render(wavesum-96.png wavesum 96 any)
render(waveprint-96.png waveprint 96 any)
configure_file(${site}/manifest.webmanifest ${SITE_DIR}/manifest.webmanifest COPYONLY)

# The pages, with the web app's head (build, manifest, service worker)
# before the end of their own head; the program pages with the link to a
# learning platform (platform.js) before it.
file(READ ${site}/head.html head)
file(READ ${site}/platform.js platform)
function(with_site_head variable page head)
  string(FIND "${page}" "</head>" at)
  if(at LESS 0)
    message(FATAL_ERROR "site.cmake: a page without </head>")
  endif()
  string(SUBSTRING "${page}" 0 ${at} before)
  string(SUBSTRING "${page}" ${at} -1 after)
  set(${variable} "${before}${head}${after}" PARENT_SCOPE)
endfunction()

svg_data_url(PAGE_ICON ${icons}/de.wellenlehre.wavesum.svg)
svg_markup(WAVESUM_ICON ${icons}/de.wellenlehre.wavesum.svg)
svg_markup(WAVEPRINT_ICON ${icons}/de.wellenlehre.waveprint.svg)
set(PROJECT_VERSION ${VERSION})
set(SITE_BUILD "@SITE_BUILD@")
file(READ ${site}/index.html.in page)
string(CONFIGURE "${page}" page @ONLY)
with_site_head(page_index.html "${page}" "${head}")
foreach(program wavesum waveprint)
  file(READ ${PAGES_DIR}/${program}.html page)
  with_site_head(page_${program}.html "${page}" "<script>\n${platform}</script>\n${head}")
endforeach()

# What the service worker keeps: everything but itself.
set(kept index.html wavesum.html waveprint.html manifest.webmanifest ${rendered})
list(JOIN kept "\", \"" names)
file(READ ${site}/sw.js.in page_sw.js)
string(REPLACE "@SITE_FILES@" "[\"${names}\"]" page_sw.js "${page_sw.js}")

set(stamped index.html wavesum.html waveprint.html sw.js)
set(files ${kept} sw.js)
set(summary "wellenlehre-web ${VERSION}\n")
foreach(name ${files})
  if(name IN_LIST stamped)
    string(SHA256 sum "${page_${name}}")
  else()
    file(SHA256 ${SITE_DIR}/${name} sum)
  endif()
  string(APPEND summary "${sum}  ${name}\n")
endforeach()
string(SHA256 build "${summary}")
string(SUBSTRING ${build} 0 16 build)
foreach(name ${stamped})
  string(REPLACE "@SITE_BUILD@" "${build}" page "${page_${name}}")
  file(WRITE ${SITE_DIR}/${name} "${page}")
endforeach()
message(STATUS "Site ${VERSION}, build ${build}: ${SITE_DIR}")

# The archive: the same files, with a fixed time, so that the same site
# gives the same archive.
if(ZIP)
  file(REMOVE ${ZIP})
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip "--mtime=2000-01-01 00:00:00 UTC" ${files}
    WORKING_DIRECTORY ${SITE_DIR} COMMAND_ERROR_IS_FATAL ANY)
endif()

# The program pages as packages for learning platforms.
if(SCORM_DIR)
  include(${site}/scorm/packages.cmake)
endif()
