# The site's files as the browser takes them: what only a reader of the sources needs left out.

# TEXT without its comment-only lines: those whose first mark is COMMENT (a regular expression).
# A comment after code stays, and so does a string holding the comment's mark.
function(ship_text source output comment)
    file(READ ${source} text)
    string(REGEX REPLACE "\n[ \t]*${comment}" "" text "\n${text}")
    string(SUBSTRING "${text}" 1 -1 text)
    file(WRITE ${output} "${text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()
