# Where `cmake --install` puts the programs and their data, and the Debian package built from
# that tree by `cpack -G DEB`.
include(GNUInstallDirs)

set(KELVARA_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/kelvara)
set(KELVARA_INSTALL_PLUGINDIR lib/kelvara/plugins)

# The programs find their data relative to their own file, so an installed tree can be moved
# to another prefix as a whole.
file(RELATIVE_PATH data_from_bin ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${KELVARA_INSTALL_DATADIR})
file(RELATIVE_PATH plugins_from_bin ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${KELVARA_INSTALL_PLUGINDIR})
set_source_files_properties(src/core/DictionaryLocation.cpp DIRECTORY src/core
    PROPERTIES COMPILE_DEFINITIONS KELVARA_DATA_FROM_BIN="${data_from_bin}")
set_source_files_properties(src/app/PluginFolders.cpp DIRECTORY src/app
    PROPERTIES COMPILE_DEFINITIONS KELVARA_PLUGINS_FROM_BIN="${plugins_from_bin}")

set(programs kelvara-cli)
if(TARGET kelvara)
  list(APPEND programs kelvara)
endif()
install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES data/KVR.ini data/manual.html DESTINATION ${KELVARA_INSTALL_DATADIR})

# The sample simulator folder's own files only: no backups a run left, no notes for developers.
file(GLOB_RECURSE sample_files CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/data/samples
     ${CMAKE_SOURCE_DIR}/data/samples/*)
list(FILTER sample_files INCLUDE REGEX "\\.([Aa][Ii][Rr]|[Cc][Ff][Gg]|[Jj][Pp][Gg])$")
list(FILTER sample_files EXCLUDE REGEX "\\.kvr[0-9]?\\.[Aa][Ii][Rr]$")
# The build tree holds the same data at the same place relative to bin/, so that the programs
# in build/bin find the samples and the manual as an installed program does.
set(build_data ${CMAKE_BINARY_DIR}/bin/${data_from_bin})
configure_file(data/manual.html ${build_data}/manual.html COPYONLY)
foreach(file ${sample_files})
  get_filename_component(folder ${file} DIRECTORY)
  install(FILES data/samples/${file} DESTINATION ${KELVARA_INSTALL_DATADIR}/samples/${folder})
  configure_file(data/samples/${file} ${build_data}/samples/${file} COPYONLY)
endforeach()
# What Debian wants beside every package's documentation.
set(changelog ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz)
add_custom_command(OUTPUT ${changelog}
    COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${CMAKE_SOURCE_DIR}/data/debian/changelog ${changelog}
    DEPENDS data/debian/changelog VERBATIM)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/debian)
add_custom_target(debian_changelog ALL DEPENDS ${changelog})
install(FILES data/debian/copyright ${changelog} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/kelvara)

# Man pages ship compressed, as Debian wants them; man reads both.
set(man_pages kelvara-cli)
if(TARGET kelvara)
  list(APPEND man_pages kelvara)
endif()
foreach(page ${man_pages})
  set(gz ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${gz}
      COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${CMAKE_SOURCE_DIR}/data/man/${page}.1 ${gz}
      DEPENDS data/man/${page}.1 VERBATIM)
  list(APPEND man_files ${gz})
endforeach()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/man)
add_custom_target(man_pages ALL DEPENDS ${man_files})
install(FILES ${man_files} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(TARGET kelvara)
  set(desktop ${CMAKE_SOURCE_DIR}/data/desktop/${KELVARA_APP_ID})
  install(FILES ${desktop}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${desktop}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${desktop}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 16 22 24 32 48 64 128 256)
    install(FILES data/desktop/icons/${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${KELVARA_APP_ID}.png)
  endforeach()
endif()

# ---- Debian package ------------------------------------------------------------------------
set(CPACK_PACKAGE_NAME kelvara)
set(CPACK_PACKAGE_VENDOR "The Kelvara developers")
set(CPACK_PACKAGE_CONTACT "The Kelvara developers <kelvara@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for Flight Simulator X .air flight-model files")
set(CPACK_PACKAGE_DESCRIPTION
    "Kelvara shows the records of an aircraft's .air flight-model file as a\n\
tree, shows and changes their values in physical units, draws tables as\n\
curves that can be changed with the mouse, and saves with five rotating\n\
backup copies. It also browses the aircraft installed for the simulator.\n\
kelvara-cli does the same from scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET kelvara)
  # Qt loads its window-system plug-in at run time; no linked library names it.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  # Qt's own dialog texts in German, loaded when the language setting is German.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
endif()
include(CPack)
