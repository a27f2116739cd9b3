# Run at install time: puts relative symbolic links to the programs into the
# prefix's bin folder. The programs find their program folder through their
# own path, which the kernel reports with the link resolved, so they still
# find the shipped files beside them. Expects SENDARO_PROGRAMMORDNER_REL,
# SENDARO_BIN_REL and SENDARO_PROGRAMME.
set(_bin "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${SENDARO_BIN_REL}")
file(MAKE_DIRECTORY "${_bin}")
file(RELATIVE_PATH _weg "${CMAKE_INSTALL_PREFIX}/${SENDARO_BIN_REL}"
    "${CMAKE_INSTALL_PREFIX}/${SENDARO_PROGRAMMORDNER_REL}")
foreach(_programm IN LISTS SENDARO_PROGRAMME)
    message(STATUS "Installing: ${_bin}/${_programm}")
    file(CREATE_LINK "${_weg}/${_programm}" "${_bin}/${_programm}" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${_bin}/${_programm}")
endforeach()
