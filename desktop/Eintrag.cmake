# Run at install time: writes the desktop entry with the wizard's path in the
# install prefix. Expects SENDARO_EINTRAG_VORLAGE, SENDARO_PROGRAMMORDNER_REL
# and SENDARO_ANWENDUNGEN_REL (both relative to the prefix).
cmake_path(ABSOLUTE_PATH SENDARO_PROGRAMMORDNER_REL BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
    OUTPUT_VARIABLE _ordner)
set(_programm "${_ordner}/tvverknuepfen")

# Exec takes the path as one quoted argument (\ " ` $ escaped, % doubled);
# like every value of the file, its backslashes are then doubled once more.
string(REPLACE "\\" "\\\\" _arg "${_programm}")
string(REPLACE "\"" "\\\"" _arg "${_arg}")
string(REPLACE "`" "\\`" _arg "${_arg}")
string(REPLACE "$" "\\$" _arg "${_arg}")
string(REPLACE "%" "%%" _arg "${_arg}")
string(REPLACE "\\" "\\\\" _arg "${_arg}")
set(SENDARO_EXEC "\"${_arg}\"")
string(REPLACE "\\" "\\\\" SENDARO_TRYEXEC "${_programm}")

set(_ziel "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${SENDARO_ANWENDUNGEN_REL}/tvverknuepfen.desktop")
message(STATUS "Installing: ${_ziel}")
configure_file("${SENDARO_EINTRAG_VORLAGE}" "${_ziel}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${_ziel}")
