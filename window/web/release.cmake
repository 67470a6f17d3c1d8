# Writes the site's service worker from its template: every other file of the site with its
# SHA-256 (the release), and the release's name, from all of them.
#   cmake -DSITE=DIR -DTEMPLATE=sw.js -P release.cmake
file(GLOB files LIST_DIRECTORIES false RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(RELEASE "")
foreach(file ${files})
    file(SHA256 ${SITE}/${file} sum)
    string(APPEND RELEASE "\n  '${file}': '${sum}',")
endforeach()
string(SHA256 RELEASE_ID "${RELEASE}")
string(SUBSTRING ${RELEASE_ID} 0 16 RELEASE_ID)
set(RELEASE "{${RELEASE}\n}")
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
