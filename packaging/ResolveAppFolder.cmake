# Included by the install-time scripts: sets _appdir to the installed
# application folder for the prefix given to `cmake --install --prefix`.
if(IS_ABSOLUTE "${QTUTAKAZE_INSTALL_APPDIR}")
    set(_appdir "${QTUTAKAZE_INSTALL_APPDIR}")
else()
    set(_appdir "${CMAKE_INSTALL_PREFIX}/${QTUTAKAZE_INSTALL_APPDIR}")
endif()
