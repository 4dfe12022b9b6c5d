# Run at install time (included from cmake_install.cmake): writes the desktop
# entry for the prefix given to `cmake --install --prefix` and the launcher
# script bin/qtutakaze. Both start the program in its application folder, the
# working directory where it looks up its memorization cues.
#
# In: QTUTAKAZE_INSTALL_APPDIR, QTUTAKAZE_APP_ID, QTUTAKAZE_DESKTOP_TEMPLATE,
#     QTUTAKAZE_STAGING_DIR, CMAKE_INSTALL_PREFIX.

cmake_policy(PUSH)
cmake_policy(VERSION 3.25)

include("${CMAKE_CURRENT_LIST_DIR}/ResolveAppFolder.cmake")
cmake_path(NORMAL_PATH _appdir)
string(REGEX REPLACE "(.)/$" "\\1" _appdir "${_appdir}")
if(_appdir MATCHES "[\n\r\t]")
    message(FATAL_ERROR "The install folder may not contain line breaks or tabs: ${_appdir}")
endif()
set(_icon "${CMAKE_INSTALL_PREFIX}/share/icons/hicolor/32x32/apps/${QTUTAKAZE_APP_ID}.png")
cmake_path(NORMAL_PATH _icon)

# Desktop entry strings escape the backslash; Exec= arguments are quoted when
# they hold a reserved character, and % is doubled.
function(_desktop_string out value)
    string(REPLACE "\\" "\\\\" value "${value}")
    set(${out} "${value}" PARENT_SCOPE)
endfunction()
function(_desktop_exec_arg out value)
    string(REPLACE "%" "%%" value "${value}")
    if(value MATCHES "[] \"'\\\\><~|&;$*?#()`[]")
        string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" value "${value}")
        set(value "\"${value}\"")
    endif()
    _desktop_string(value "${value}")
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

_desktop_exec_arg(DESKTOP_EXEC "${_appdir}/QtUtakaze")
_desktop_string(DESKTOP_PATH "${_appdir}")
_desktop_string(DESKTOP_ICON "${_icon}")
configure_file("${QTUTAKAZE_DESKTOP_TEMPLATE}"
    "${QTUTAKAZE_STAGING_DIR}/${QTUTAKAZE_APP_ID}.desktop" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE
    FILES "${QTUTAKAZE_STAGING_DIR}/${QTUTAKAZE_APP_ID}.desktop")

# Launcher for the command line: sh single quotes hold any path but a quote.
string(REPLACE "'" "'\\''" _quoted "${_appdir}")
file(WRITE "${QTUTAKAZE_STAGING_DIR}/qtutakaze"
    "#!/bin/sh\n# Starts QtUtakaze in its application folder.\ncd '${_quoted}' && exec ./QtUtakaze \"$@\"\n")
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/bin" TYPE PROGRAM
    FILES "${QTUTAKAZE_STAGING_DIR}/qtutakaze")

cmake_policy(POP)
