# The site's files as shipped: a source, what the browser gets, and for a text its comment's mark.
include(${SOURCE_DIR}/window/web/shipped.cmake)
foreach(row "M 6.9379883,34 v -0.879883 H 1.5771484@M6.94,34v-0.88H1.58"
            "q 0.484375,2.28125 0.03125,3.125@q0.48,2.28 0.03,3.13"
            "l -0.004,0.005 -1.995,12.995 0.0951,-9.999 z@l0,0.01-2,13 0.1-10z"
            "M 0,-5 Q 12,-9 15.5,-20.25 Z@M0-5Q12-9 15.5-20.25Z"
            "// a\nx = 1 // b\n  // c\ns = 'http://'\n@x = 1 // b\ns = 'http://'\n@//[^\n]*"
            "/* a\n b */\np{} /*c*/\n/* d */\nq{}\n@p{} /*c*/\nq{}\n@/\\*([^*]|\\*+[^*/])*\\*+/")
    string(REPLACE "@" ";" row "${row}")
    list(POP_FRONT row source expected)
    set(got " d=\"${source}\"")
    round_path_data(got)
    if(row)  # a text: without its comment-only lines
        file(WRITE ${WORK}/shipped.in "${source}")
        ship_text(${WORK}/shipped.in ${WORK}/shipped.out "${row}")
        file(READ ${WORK}/shipped.out got)
    endif()
    if(NOT got STREQUAL expected AND NOT got STREQUAL " d=\"${expected}\"")
        message(SEND_ERROR "${source}\n  gave ${got}\n  not ${expected}")
    endif()
endforeach()
