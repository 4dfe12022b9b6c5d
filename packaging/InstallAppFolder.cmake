# Run at install time (included from cmake_install.cmake): copies the voice
# folders and the memorization cues of the build's application folder into
# the installed one. A file already present there is never replaced, so
# recordings the user put into an installed folder survive a reinstall.
#
# In: QTUTAKAZE_SOURCE_APPDIR, QTUTAKAZE_INSTALL_APPDIR, CMAKE_INSTALL_PREFIX.

cmake_policy(PUSH)
cmake_policy(VERSION 3.25)

include("${CMAKE_CURRENT_LIST_DIR}/ResolveAppFolder.cmake")

# _qtutakaze_install_missing(<source folder> <destination folder> <globs...>)
function(_qtutakaze_install_missing source destination)
    if(NOT IS_DIRECTORY "${source}")
        return()
    endif()
    set(_copied 0)
    set(_kept 0)
    set(_demo "")
    if(EXISTS "${source}/.demo-voices")
        file(STRINGS "${source}/.demo-voices" _demo)
    endif()
    set(_demo_copied "")
    list(TRANSFORM ARGN PREPEND "${source}/" OUTPUT_VARIABLE _globs)
    file(GLOB _files LIST_DIRECTORIES false RELATIVE "${source}" ${_globs})
    list(SORT _files)
    foreach(_name IN LISTS _files)
        if(EXISTS "$ENV{DESTDIR}${destination}/${_name}")
            math(EXPR _kept "${_kept} + 1")
        else()
            file(INSTALL DESTINATION "${destination}" TYPE FILE MESSAGE_NEVER
                FILES "${source}/${_name}")
            math(EXPR _copied "${_copied} + 1")
            if(_name IN_LIST _demo)
                list(APPEND _demo_copied "${_name}")
            endif()
        endif()
    endforeach()
    # Keep the list of synthetic files in step with what was copied.
    if(_demo_copied)
        list(JOIN _demo_copied "\n" _lines)
        file(APPEND "$ENV{DESTDIR}${destination}/.demo-voices" "${_lines}\n")
    endif()
    message(STATUS "Installing: ${destination}: ${_copied} files copied, ${_kept} already there kept")
endfunction()

_qtutakaze_install_missing("${QTUTAKAZE_SOURCE_APPDIR}/Music" "${_appdir}/Music" "*.ogg" "timing.tsv")
_qtutakaze_install_missing("${QTUTAKAZE_SOURCE_APPDIR}/Music2" "${_appdir}/Music2" "*.ogg" "timing.tsv")
_qtutakaze_install_missing("${QTUTAKAZE_SOURCE_APPDIR}" "${_appdir}"
    "start.wav" "before2min.wav" "fine.wav")

cmake_policy(POP)
