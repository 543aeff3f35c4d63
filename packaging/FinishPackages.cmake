# SPDX-License-Identifier: Zlib
# Run by cpack once it made the packages, to finish what CPack does not do the Debian way:
# - CPack gives every package with a library in /usr/lib a postinst and a postrm that run ldconfig;
#   a package whose control files activate dpkg's ldconfig trigger needs neither: they go.
# - A -dbgsym package (.ddeb) lists its files in md5sums by the absolute paths of CPack's staging
#   folder: they are listed again by their paths in the package, and its documentation folder
#   becomes a link to that of the package it belongs to, as debhelper makes it.
# A changed package is put together again with dpkg-deb.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  set(tree ${CPACK_TOPLEVEL_DIRECTORY}/finishing)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  set(changed OFF)
  set(trigger)
  if(EXISTS ${tree}/DEBIAN/triggers)
    file(STRINGS ${tree}/DEBIAN/triggers trigger REGEX "^activate-noawait ldconfig$")
  endif()
  if(trigger)
    file(REMOVE ${tree}/DEBIAN/postinst ${tree}/DEBIAN/postrm)
    set(changed ON)
  endif()
  if(package MATCHES "\\.ddeb$")
    file(STRINGS ${tree}/DEBIAN/control name REGEX "^Package: ")
    string(REGEX REPLACE "^Package: (.*)-dbgsym$" "\\1" name "${name}")
    file(MAKE_DIRECTORY ${tree}/usr/share/doc)
    file(CREATE_LINK ${name} ${tree}/usr/share/doc/${name}-dbgsym SYMBOLIC)
    file(GLOB_RECURSE debug_files RELATIVE ${tree} ${tree}/usr/lib/debug/*)
    set(sums)
    foreach(debug_file IN LISTS debug_files)
      file(CHMOD ${tree}/${debug_file} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
      file(MD5 ${tree}/${debug_file} sum)
      string(APPEND sums "${sum}  ${debug_file}\n")
    endforeach()
    file(WRITE ${tree}/DEBIAN/md5sums "${sums}")
    set(changed ON)
  endif()
  if(changed)
    execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${package}
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  endif()
  file(REMOVE_RECURSE ${tree})
endforeach()
