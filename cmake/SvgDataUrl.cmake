# svg_markup(<variable> <file>): an SVG file's markup, without its XML
# declaration, to stand inline in an HTML page.
function(svg_markup variable file)
  file(READ ${file} svg)
  string(REGEX REPLACE "<\\?xml[^>]*\\?>" "" svg "${svg}")
  set(${variable} "${svg}" PARENT_SCOPE)
endfunction()

# svg_data_url(<variable> <file>): an SVG file as a data: URL for an HTML
# attribute in double quotes (a page's inline icon): without its XML
# declaration and comments, on one line, with the characters a URL or the
# attribute cannot hold escaped.
function(svg_data_url variable file)
  svg_markup(svg ${file})
  string(REGEX REPLACE "<!--([^-]|-[^-])*-->" "" svg "${svg}")
  string(REGEX REPLACE "[ \t\r\n]+" " " svg "${svg}")
  string(STRIP "${svg}" svg)
  string(REPLACE "%" "%25" svg "${svg}")
  string(REPLACE "#" "%23" svg "${svg}")
  string(REPLACE "\"" "'" svg "${svg}")
  string(REPLACE "<" "%3C" svg "${svg}")
  string(REPLACE ">" "%3E" svg "${svg}")
  set(${variable} "data:image/svg+xml,${svg}" PARENT_SCOPE)
endfunction()
