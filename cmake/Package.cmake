# The Debian package (scripts/package): what cmake --install puts under /usr, with its
# dependencies computed by dpkg-shlibdeps from the programs themselves.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarwick)
set(CPACK_PACKAGE_VENDOR "The Tarwick developers")
set(CPACK_PACKAGE_CONTACT "Tarwick developers <tarwick@tarwick.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vanity Bitcoin address generator with a desktop front-end")
set(CPACK_PACKAGE_DESCRIPTION "Tarwick finds Bitcoin addresses that begin with a chosen pattern.
Its window drives a generator program, follows the search live, and keeps
every address found with its private key. It ships a CPU generator, an
OpenCL generator and a bounty-pool miner.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The OpenCL generator and the miner need an OpenCL driver; PoCL runs them on the CPU.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pocl-opencl-icd | opencl-icd")
include(CPack)
