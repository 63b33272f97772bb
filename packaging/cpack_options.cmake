# Settings for one package generator at a time: the .tar.gz unpacks to bin/,
# share/ under its top folder, where the .deb installs under /usr.
if(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_PACKAGING_INSTALL_PREFIX "")
endif()
