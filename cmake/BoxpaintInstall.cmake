# What is installed beside the programs: the manual pages, and the pages of documentation
# with every file they link.

find_program(BOXPAINT_GZIP gzip)
find_program(BOXPAINT_GROFF groff)

# boxpaint_compressed(<file> <destination>)
#
# Installs <file> (a path in the source tree) to <destination>, compressed with gzip -9 -n
# as Debian keeps manual pages and changelogs: the same bytes at every build. Without
# gzip it is installed as it is.
function(boxpaint_compressed file destination)
  get_filename_component(name ${file} NAME)
  if(NOT BOXPAINT_GZIP)
    install(FILES ${PROJECT_SOURCE_DIR}/${file} DESTINATION ${destination})
    return()
  endif()
  set(made ${PROJECT_BINARY_DIR}/compressed/${name})
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/compressed)
  add_custom_command(OUTPUT ${made}.gz
                     COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${file} ${made}
                     COMMAND ${BOXPAINT_GZIP} -9 -n -f ${made}
                     DEPENDS ${PROJECT_SOURCE_DIR}/${file} VERBATIM)
  string(MAKE_C_IDENTIFIER ${name} target)
  add_custom_target(boxpaint_compressed_${target} ALL DEPENDS ${made}.gz)
  install(FILES ${made}.gz DESTINATION ${destination})
endfunction()

# boxpaint_manual_page(<name>)
#
# Installs the manual page docs/man/<name>.1: compressed, in the manual's section 1, or in
# a Windows build, which has no man, as text (docs/man/<name>.txt, made with groff) beside
# the page in the release archive.
function(boxpaint_manual_page name)
  if(NOT WIN32)
    boxpaint_compressed(docs/man/${name}.1 ${CMAKE_INSTALL_MANDIR}/man1)
    return()
  endif()
  if(NOT BOXPAINT_GROFF)
    message(WARNING "groff not found (Debian: groff-base): the release archive holds "
                    "docs/man/${name}.1 without its text")
    return()
  endif()
  set(text ${PROJECT_BINARY_DIR}/man/${name}.txt)
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/man)
  add_custom_command(OUTPUT ${text}
                     COMMAND ${CMAKE_COMMAND} -DGROFF=${BOXPAINT_GROFF}
                             -DPAGE=${PROJECT_SOURCE_DIR}/docs/man/${name}.1 -DTEXT=${text}
                             -P ${PROJECT_SOURCE_DIR}/cmake/render_manual_page.cmake
                     DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/${name}.1
                             ${PROJECT_SOURCE_DIR}/cmake/render_manual_page.cmake
                     VERBATIM)
  string(MAKE_C_IDENTIFIER ${name} target)
  add_custom_target(boxpaint_manual_text_${target} ALL DEPENDS ${text})
  install(FILES ${text} DESTINATION docs/man)
endfunction()

# boxpaint_install_linked(<page> DESTINATION <folder>)
#
# Installs the Markdown page <page> (a path in the source tree) to <folder>, and with it
# every file that it links by a relative path, and every file those pages link in turn,
# each at the same place relative to <page> as in the source tree: every relative link of
# the installed pages then resolves. A link that leads out of <page>'s folder is left
# out, with a warning. The build is configured again when one of the pages changes.
function(boxpaint_install_linked page)
  cmake_parse_arguments(ARG "" "DESTINATION" "" ${ARGN})
  get_filename_component(root ${page} DIRECTORY)
  set(pending ${page})
  set(seen)
  while(pending)
    list(POP_FRONT pending file)
    if(file IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${file})
    set(source ${PROJECT_SOURCE_DIR}/${file})
    cmake_path(RELATIVE_PATH file BASE_DIRECTORY "${root}" OUTPUT_VARIABLE placed)
    if(NOT EXISTS ${source} OR placed MATCHES "^\\.\\./")
      message(WARNING "${page} links ${file}, which is not installed with it")
      continue()
    endif()
    get_filename_component(folder ${placed} DIRECTORY)
    install(FILES ${source} DESTINATION ${ARG_DESTINATION}/${folder})
    if(NOT file MATCHES "\\.md$")
      continue()
    endif()
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                 ${source})
    file(READ ${source} text)
    # ](target) and ](target#anchor), the end of every Markdown link and picture. Square
    # brackets would keep CMake from splitting the list of matches, so they go first.
    string(REPLACE "](" "<link>" text "${text}")
    string(REGEX REPLACE "[][]" "" text "${text}")
    string(REGEX MATCHALL "<link>[^)#; \t\n]+" links "${text}")
    get_filename_component(here ${file} DIRECTORY)
    foreach(link IN LISTS links)
      string(SUBSTRING "${link}" 6 -1 target)
      if(target MATCHES "^[a-zA-Z][a-zA-Z0-9+.-]*:")
        continue()  # https:, mailto: and the like
      endif()
      cmake_path(SET linked NORMALIZE "${here}/${target}")
      string(REGEX REPLACE "^/" "" linked "${linked}")
      list(APPEND pending ${linked})
    endforeach()
  endwhile()
endfunction()
