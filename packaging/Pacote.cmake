# `cmake --build build --target package` makes vlme_<versão>_<arq>.deb.
# The libraries come from dpkg-shlibdeps; what Qt loads at run time
# (the SQLite driver, the platform plugins, its Portuguese dialogs) and the
# font of the printed documents are not linked, so they are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vlme)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "declaração VLM-E da Zona Franca de Manaus")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Programa com que um fabricante da Zona Franca de Manaus prepara, confere,
entrega e acompanha a sua declaração VLM-E (o coeficiente de redução do
Imposto de Importação de um produto): vlme, com janelas, e vlme-cli, as
mesmas operações sem janela.")
set(CPACK_PACKAGE_CONTACT "${VLME_MANTENEDOR}")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, qt6-qpa-plugins, qt6-translations-l10n, fonts-dejavu-core")
# Without dpkg-shlibdeps CPack would quietly leave the libraries out, and the
# package would install on a machine that cannot run it.
find_program(VLME_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VLME_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), "
         "libqt6widgets6 (>= 6.4), libqt6sql6 (>= 6.4), libqt6network6 (>= 6.4), "
         "libqt6printsupport6 (>= 6.4), libsqlite3-0, libpq5, libssl3, libstdc++6, libc6")
endif()
include(CPack)
