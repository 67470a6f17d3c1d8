# The site's files as the browser takes them: what only a reader of the sources needs left out.

# SOURCE as OUTPUT without its comment-only lines: those whose first mark is COMMENT (a regex).
# A comment after code stays, and so does a string holding the comment's mark.
function(ship_text source output comment)
    file(READ ${source} text)
    string(REGEX REPLACE "\n[ \t]*${comment}" "" text "\n${text}")
    string(SUBSTRING "${text}" 1 -1 text)
    file(WRITE ${output} "${text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()

# Path data to two decimals, rounded half away from zero (truncating pulls every step toward zero,
# and a path of relative steps drifts), without the blanks its commands and minus signs make
# needless.
function(round_path_data var)
    set(text "${${var}}")
    string(REGEX MATCHALL " d=\"[^\"]*\"" paths "${text}")
    foreach(path IN LISTS paths)
        string(REGEX MATCHALL "[^0-9.-]+|-?[0-9]*\\.?[0-9]+" pieces "${path}")
        set(out "")
        foreach(piece IN LISTS pieces)
            if(piece MATCHES "^(-?)([0-9]*)\\.([0-9][0-9])([0-9])[0-9]*$")
                set(sign "${CMAKE_MATCH_1}")
                math(EXPR n "0${CMAKE_MATCH_2} * 100 + 1${CMAKE_MATCH_3} - 100")
                if(CMAKE_MATCH_4 GREATER_EQUAL 5)
                    math(EXPR n "${n} + 1")
                endif()
                math(EXPR whole "${n} / 100")
                math(EXPR part "${n} % 100 + 100")
                string(REGEX REPLACE "^1(.[1-9]?)0?$" ".\\1" part "${part}")
                string(REGEX REPLACE "^\\.0?$" "" part "${part}")
                set(piece "${sign}${whole}${part}")
                if(n EQUAL 0)
                    set(piece 0)
                endif()
            endif()
            string(APPEND out "${piece}")
        endforeach()
        string(REGEX REPLACE " ?([A-Za-z]) ?" "\\1" out "${out}")
        string(REGEX REPLACE "[ ,]-" "-" out "${out}")
        string(REPLACE "${path}" " ${out}" text "${text}")
    endforeach()
    set(${var} "${text}" PARENT_SCOPE)
endfunction()

# A picture without its white paper (it would stand out on a dark page), its comments, the
# editor's ids, the attributes named in DROP and indentation, its path data rounded: the same to
# the eye at 400 % zoom.
function(ship_picture source output drop)
    file(READ ${source} svg)
    string(REGEX REPLACE "<\\?xml[^>]*>|<rect[^>]*/>|<!--[^>]*-->" "" svg "${svg}")
    string(REGEX REPLACE "[ \n]+(${drop})=\"[^\"]*\"|[ \n]+id=\"[a-z]+[0-9]+\"" "" svg "${svg}")
    string(REGEX REPLACE "[\n ]+" " " svg "${svg}")
    string(REGEX REPLACE " ?(/?>) (<)" "\\1\\2" svg "${svg}")
    string(STRIP "${svg}" svg)
    round_path_data(svg)
    file(WRITE ${output} "${svg}\n")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()
