# Run by CPack on its staging folder before it packs it: every folder gets the mode 0755
# that the folders of a package must have, whatever the umask of the build. (The install
# asks for that mode already, but the umask still takes bits away when a folder is made.)
file(CHMOD_RECURSE "${CPACK_TEMPORARY_INSTALL_DIRECTORY}"
  DIRECTORY_PERMISSIONS ${CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
