# Run at install time: writes the manual pages for the prefix given then, from pages
# that leave it open (VARNOK_MANUAL_FOLDER is the build's packaging folder). The prefix
# is written as roff text: minus signs, and break points after its slashes, so a long
# prefix still fits the page's lines.
string(REPLACE "-" "\\-" VARNOK_PREFIX "${CMAKE_INSTALL_PREFIX}")
string(REPLACE "/" "/\\:" VARNOK_PREFIX "${VARNOK_PREFIX}")
foreach(page varnok VarnokSetup)
  configure_file("${VARNOK_MANUAL_FOLDER}/any-prefix/${page}.6.in" "${VARNOK_MANUAL_FOLDER}/installed/${page}.6"
                 @ONLY)
endforeach()
