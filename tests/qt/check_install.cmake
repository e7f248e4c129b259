# Installs the build into a scratch prefix and checks that the desktop finds everything it needs:
# the program, its menu entry, the icon at every size, the AppStream file, the manual page and the
# package's copyright and changelog.
# cmake -DBUILD_DIR=... -DPREFIX=... -DAPP_ID=... -P check_install.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(expected
  bin/zembra
  share/applications/${APP_ID}.desktop
  share/metainfo/${APP_ID}.metainfo.xml
  share/man/man1/zembra.1.gz
  share/doc/zembra/copyright
  share/doc/zembra/changelog.gz
  share/icons/hicolor/scalable/apps/${APP_ID}.svg)
foreach(size 16 24 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
foreach(file IN LISTS expected)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(READ ${PREFIX}/share/applications/${APP_ID}.desktop entry)
if(NOT entry MATCHES "\nExec=zembra\n" OR NOT entry MATCHES "\nIcon=${APP_ID}\n")
  message(FATAL_ERROR "the menu entry does not start the installed program with its icon")
endif()
file(REMOVE_RECURSE ${PREFIX})
