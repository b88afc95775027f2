# Where an installed Tarwick keeps its parts (GNUInstallDirs), and the one id its desktop
# entry, icon and AppStream file share.
include(GNUInstallDirs)
set(TARWICK_APP_ID org.tarwick.Tarwick)
set(TARWICK_LIBEXEC_DIR ${CMAKE_INSTALL_LIBEXECDIR}/tarwick)
# The front-end finds the generators relative to its own executable, so any prefix works.
file(RELATIVE_PATH TARWICK_LIBEXEC_FROM_BIN /prefix/${CMAKE_INSTALL_BINDIR}
     /prefix/${TARWICK_LIBEXEC_DIR})
