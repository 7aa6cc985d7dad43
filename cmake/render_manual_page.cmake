# Renders the manual page PAGE as plain UTF-8 text in TEXT, for a system without man:
# 78 columns, no hyphenation, no overstriking or escape sequences.
#
#   cmake -DGROFF=/usr/bin/groff -DPAGE=docs/man/boxpaint.1 -DTEXT=boxpaint.txt -P render_manual_page.cmake
execute_process(COMMAND ${GROFF} -man -Tutf8 -rLL=78n -rHY=0 -P-cbou ${PAGE}
                OUTPUT_FILE ${TEXT}.new
                ERROR_VARIABLE errors
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${TEXT}.new)
  message(FATAL_ERROR "groff could not render ${PAGE} (${status}): ${errors}")
endif()
if(NOT errors STREQUAL "")
  message(WARNING "groff on ${PAGE}: ${errors}")
endif()
file(RENAME ${TEXT}.new ${TEXT})
