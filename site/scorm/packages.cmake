# The programs as SCORM packages for learning platforms, included by
# site.cmake once the site's pages are written: for SCORM 1.2 and SCORM
# 2004 (4th edition) each, one package with both programs as two SCOs and
# one per program, in SCORM_DIR:
#
#   wellenlehre-scorm12-<version>.zip, wellenlehre-scorm2004-<version>.zip
#   wellenlehre-scorm12-wavesum-<version>.zip, ... -waveprint-<version>.zip
#
# Each holds imsmanifest.xml and the program pages as the site has them,
# single files that fetch nothing; their own script (platform.js) talks
# to the platform.
set(scorm_title_wavesum "Fouriersynthese")
set(scorm_title_waveprint "Fourierzerlegung Rechteck")
set(scorm_title "Fourierreihen im Unterricht")

# standard: 12 or 2004; name: the package's name; programs: its SCOs.
function(scorm_package standard name)
  set(programs ${ARGN})
  if(standard STREQUAL 12)
    set(type_attribute scormtype)
  else()
    set(type_attribute scormType)
  endif()
  set(ITEMS "")
  set(RESOURCES "")
  foreach(program ${programs})
    string(APPEND ITEMS "      <item identifier=\"item-${program}\" identifierref=\"resource-${program}\">\n"
      "        <title>${scorm_title_${program}}</title>\n      </item>\n")
    string(APPEND RESOURCES "    <resource identifier=\"resource-${program}\" type=\"webcontent\" "
      "adlcp:${type_attribute}=\"sco\" href=\"${program}.html\">\n"
      "      <file href=\"${program}.html\"/>\n    </resource>\n")
  endforeach()
  list(LENGTH programs count)
  if(count EQUAL 1)
    set(TITLE "${scorm_title_${programs}}")
  else()
    set(TITLE "${scorm_title}")
  endif()
  set(PACKAGE_ID "de.wellenlehre.${name}")
  set(work ${SCORM_DIR}/${name})
  file(REMOVE_RECURSE ${work})
  file(MAKE_DIRECTORY ${work})
  configure_file(${SOURCE_DIR}/site/scorm/imsmanifest${standard}.xml.in ${work}/imsmanifest.xml @ONLY)
  set(files imsmanifest.xml)
  foreach(program ${programs})
    file(COPY ${SITE_DIR}/${program}.html DESTINATION ${work})
    list(APPEND files ${program}.html)
  endforeach()
  set(zip ${SCORM_DIR}/${name}-${VERSION}.zip)
  file(REMOVE ${zip})
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip "--mtime=2000-01-01 00:00:00 UTC" ${files}
    WORKING_DIRECTORY ${work} COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${work})
endfunction()

foreach(standard 12 2004)
  scorm_package(${standard} wellenlehre-scorm${standard} wavesum waveprint)
  foreach(program wavesum waveprint)
    scorm_package(${standard} wellenlehre-scorm${standard}-${program} ${program})
  endforeach()
endforeach()
