# The Debian package of the command-line tool: the binary, its translations,
# its man pages (English and Vietnamese) and bash completion, the example
# workbook with its data licence.
include(GNUInstallDirs)

set(PRADIMA_PACKAGING ${PROJECT_SOURCE_DIR}/packaging/debian)
set(PRADIMA_PACKAGE_FILES ${CMAKE_BINARY_DIR}/package-files)
set(PRADIMA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/pradima)

# Debian wants the man page and the changelog compressed at the highest
# level, without a time stamp.
function(pradima_gzip_configured source name)
  configure_file(${source} ${PRADIMA_PACKAGE_FILES}/${name} @ONLY)
  add_custom_command(OUTPUT ${PRADIMA_PACKAGE_FILES}/${name}.gz
                     COMMAND gzip -9 -n -f -k ${PRADIMA_PACKAGE_FILES}/${name}
                     DEPENDS ${source} VERBATIM)
endfunction()
set(VERSION ${PROJECT_VERSION})
pradima_gzip_configured(${PRADIMA_PACKAGING}/pradima.1 pradima.1)
pradima_gzip_configured(${PRADIMA_PACKAGING}/pradima.vi.1 pradima.vi.1)
pradima_gzip_configured(${PRADIMA_PACKAGING}/changelog changelog)
add_custom_target(pradima_package_files ALL
                  DEPENDS ${PRADIMA_PACKAGE_FILES}/pradima.1.gz ${PRADIMA_PACKAGE_FILES}/pradima.vi.1.gz
                          ${PRADIMA_PACKAGE_FILES}/changelog.gz)

install(TARGETS pradima RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PRADIMA_PACKAGE_FILES}/pradima.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PRADIMA_PACKAGE_FILES}/pradima.vi.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/vi/man1 RENAME pradima.1.gz)
# The catalogues as the build compiled them beside the tool (src/cli/CMakeLists.txt).
install(DIRECTORY ${CMAKE_BINARY_DIR}/src/share/locale/ DESTINATION ${CMAKE_INSTALL_LOCALEDIR})
install(FILES ${PRADIMA_PACKAGING}/pradima.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME pradima)
install(FILES ${PRADIMA_PACKAGING}/copyright ${PRADIMA_PACKAGE_FILES}/changelog.gz
        DESTINATION ${PRADIMA_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/examples/north-results.xlsx
              ${PROJECT_SOURCE_DIR}/examples/north-results-2005-2026.LICENSE
        DESTINATION ${PRADIMA_DOC_DIR}/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pradima)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Pradima developers <maintainers@pradima.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Vietnamese lottery workbooks: results and lô statistics")
# The synopsis comes from the summary; this is the extended description.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "pradima keeps the results sheet of a workbook for the Vietnamese regional\n"
       "lotteries (North, Central and South) up to date from a public results site,\n"
       "lays out lists of numbers, and counts how often each number appeared in the\n"
       "draws of a period, region and weekday. It works on .xlsx and .xlsm files\n"
       "without the spreadsheet application.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
