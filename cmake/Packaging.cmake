# Installation: the executable and its data folder live together, because the
# program reads everything from the folder that holds it.
include(GNUInstallDirs)
set(CIFRANO_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cifrano)
install(TARGETS cifrano RUNTIME DESTINATION ${CIFRANO_INSTALL_DIR})
# The sound module goes beside the program, which loads it from there.
install(TARGETS cifrano_sound LIBRARY DESTINATION ${CIFRANO_INSTALL_DIR})
# The icon belongs to the desktop menu, not to the application folder.
install(DIRECTORY data/ DESTINATION ${CIFRANO_INSTALL_DIR} PATTERN icon.png EXCLUDE)

# games/cifrano is a relative link, so that the tree still works when it is
# staged somewhere else (DESTDIR, CPack) or moved. Qt resolves the link when it
# looks for the application folder, so the data are found beside the real file.
# A game's command belongs in /usr/games (Debian policy 11.11).
set(CIFRANO_LINK_DIR games)
file(RELATIVE_PATH CIFRANO_LINK_TARGET
     /${CIFRANO_LINK_DIR} /${CIFRANO_INSTALL_DIR}/cifrano)
install(CODE "
  set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CIFRANO_LINK_DIR}/cifrano\")
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CIFRANO_LINK_DIR}\")
  file(REMOVE \"\${link}\")
  message(STATUS \"Installing: \${link} -> ${CIFRANO_LINK_TARGET}\")
  file(CREATE_LINK \"${CIFRANO_LINK_TARGET}\" \"\${link}\" SYMBOLIC)
")

# The manual page and the changelog, compressed as Debian wants them: at the
# highest level and without a time stamp, so every build gives the same bytes.
set(CIFRANO_GZIPPED)
foreach(pair "packaging/cifrano.6;cifrano.6.gz" "packaging/changelog;changelog.gz")
  list(GET pair 0 source)
  list(GET pair 1 output)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${output}
    COMMAND sh -c "gzip -9n -c '${CMAKE_SOURCE_DIR}/${source}' > '${CMAKE_BINARY_DIR}/${output}'"
    DEPENDS ${CMAKE_SOURCE_DIR}/${source} VERBATIM)
  list(APPEND CIFRANO_GZIPPED ${CMAKE_BINARY_DIR}/${output})
endforeach()
add_custom_target(cifrano_package_docs ALL DEPENDS ${CIFRANO_GZIPPED})
install(FILES ${CMAKE_BINARY_DIR}/cifrano.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# A native package's changelog is changelog.gz.
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/cifrano)

install(FILES packaging/cifrano.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/icon.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
        RENAME cifrano.png)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/cifrano)

# The Debian package (scripts/package.sh): cifrano_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cifrano)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "El equipo de Cifrano")
set(CPACK_PACKAGE_CONTACT "El equipo de Cifrano <equipo@cifrano.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "juego de cálculo mental contra el reloj / mental arithmetic game")
# The long description, in both languages; CPack indents it and marks the
# empty line as a paragraph break.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Cifrano es un juego para practicar el cálculo mental contra el reloj, con la
interfaz en español. Uno o dos jugadores eligen un tipo de operación y una
duración de 1 a 6 minutos y resuelven una hoja de problemas; el juego cuenta
los aciertos y los errores y calcula las operaciones por minuto. Los tipos de
operación son las líneas de un archivo de texto, que la orden
cifrano --comprobar revisa.

Cifrano is a game for practising mental arithmetic against the clock, with a
Spanish interface. One or two players choose an operation type and a length
of 1 to 6 minutes and answer a sheet of problems; the game counts hits and
errors and works out the operations per minute. Operation types are the lines
of a text file, which the command cifrano --comprobar checks.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt libraries come from dpkg-shlibdeps; the platform plugins and the
# Arial-compatible fonts are loaded at run time, so no linker sees them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
