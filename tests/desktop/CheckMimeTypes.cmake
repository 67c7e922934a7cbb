cmake_policy(SET CMP0007 NEW)
# A path on the command line opens a folder, a ZIP (or .cbz), RAR, 7z or tar archive or a PCO book and nothing
# else, so the launcher must declare exactly those types (a lone picture opens nothing).
file(READ ${DESKTOP} entry)
string(REGEX MATCH "\nMimeType=([^\n]*)" _ "${entry}")
set(types "${CMAKE_MATCH_1}")
list(REMOVE_ITEM types "")
list(SORT types)
set(expected application/vnd.comicbook+zip application/vnd.comicbook-rar application/vnd.rar application/x-7z-compressed
    application/x-cb7 application/x-cbr application/x-cbt application/x-tar application/x-tavimo-pco application/zip
    inode/directory)
if(NOT types STREQUAL expected)
  message(FATAL_ERROR "MimeType declares '${types}', expected '${expected}'")
endif()
if(NOT entry MATCHES "\nExec=tavimo %f\n")
  message(FATAL_ERROR "the launcher must run 'tavimo %f'")
endif()
