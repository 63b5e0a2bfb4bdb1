# Where an install puts Varnok's files, as absolute paths under the configured
# prefix and as paths relative to the programs' folder (for a prefix chosen only
# at install time).
include(GNUInstallDirs)
set(VARNOK_BIN_DIR ${CMAKE_INSTALL_FULL_BINDIR})
set(VARNOK_DATA_DIR ${CMAKE_INSTALL_FULL_DATADIR}/varnok)
set(VARNOK_DOC_DIR ${CMAKE_INSTALL_FULL_DATAROOTDIR}/doc/varnok)
set(VARNOK_MAN_DIR ${CMAKE_INSTALL_FULL_MANDIR})
file(RELATIVE_PATH VARNOK_DATA_FROM_BIN ${VARNOK_BIN_DIR} ${VARNOK_DATA_DIR})
file(RELATIVE_PATH VARNOK_DOC_FROM_BIN ${VARNOK_BIN_DIR} ${VARNOK_DOC_DIR})
file(RELATIVE_PATH VARNOK_MAN_FROM_BIN ${VARNOK_BIN_DIR} ${VARNOK_MAN_DIR})
