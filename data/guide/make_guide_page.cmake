# Turns the guide's markdown into a page of its own: cmark-gfm for the text
# (with tables), an id on each heading for the contents' links, a little style.
execute_process(COMMAND ${CMARK} --extension table --extension autolink --to html ${INPUT}
                OUTPUT_VARIABLE body RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmark-gfm could not read ${INPUT}")
endif()

# "<h2>The library and its folders</h2>" gets id="the-library-and-its-folders".
string(REGEX MATCHALL "<h[1-3]>[^<]*</h[1-3]>" headings "${body}")
foreach(heading IN LISTS headings)
  string(REGEX REPLACE "<h([1-3])>([^<]*)</h[1-3]>" "\\1" level "${heading}")
  string(REGEX REPLACE "<h[1-3]>([^<]*)</h[1-3]>" "\\1" title "${heading}")
  string(TOLOWER "${title}" slug)
  string(REGEX REPLACE "[^a-z0-9 -]" "" slug "${slug}")
  string(REPLACE " " "-" slug "${slug}")
  string(REPLACE "${heading}" "<h${level} id=\"${slug}\">${title}</h${level}>" body "${body}")
endforeach()

file(WRITE ${OUTPUT}.new "<!DOCTYPE html>
<html lang=\"en\">
<head>
<meta charset=\"utf-8\">
<title>The Korvane user guide</title>
<style>
body { font-family: sans-serif; line-height: 1.5; max-width: 50em; margin: 2em auto; padding: 0 1em; color: #222; }
img { max-width: 100%; border: 1px solid #ccc; }
code, pre { background: #f3f3f0; font-family: monospace; }
pre { padding: 0.5em 1em; overflow-x: auto; }
h2 { margin-top: 2em; border-bottom: 1px solid #ddd; }
</style>
</head>
<body>
${body}</body>
</html>
")
file(RENAME ${OUTPUT}.new ${OUTPUT})
