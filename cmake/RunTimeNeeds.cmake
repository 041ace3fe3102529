# What the tests and the scripts need at run time besides the program itself. Each is found here,
# once, and handed to its users from here: a missing one fails the configure step instead of a
# test quietly skipping, and scripts/check-packages.sh can name the Debian package of each.
find_program(ORBISK_CHROMIUM NAMES chromium chromium-browser REQUIRED
  DOC "Browser that shows the report pages and prints the help document")
find_program(ORBISK_LOCALEDEF localedef REQUIRED DOC "Compiles a Russian locale for the number tests")
find_file(ORBISK_RU_LOCALE_SOURCE ru_RU PATHS /usr/share/i18n/locales NO_DEFAULT_PATH REQUIRED
  DOC "Source of the Russian locale that localedef compiles")
find_file(ORBISK_FONT_SANS DejaVuSans.ttf PATHS /usr/share/fonts/truetype/dejavu NO_DEFAULT_PATH
  REQUIRED DOC "Font of the windows under the offscreen platform and Xvfb")
find_file(ORBISK_FONT_SERIF LiberationSerif-Regular.ttf PATHS /usr/share/fonts/truetype/liberation
  NO_DEFAULT_PATH REQUIRED DOC "Serif font the browser shows the report pages in")
find_program(ORBISK_XVFB_RUN xvfb-run REQUIRED DOC "X server for the screenshots")
find_program(ORBISK_XAUTH xauth REQUIRED DOC "xvfb-run needs it to start the X server")
find_program(ORBISK_MINGW64_CXX x86_64-w64-mingw32-g++-posix REQUIRED
  DOC "Cross compiler of the Windows programs (scripts/windows/build.sh)")
find_program(ORBISK_WINE wine REQUIRED DOC "Runs the Windows programs in their tests")
find_program(ORBISK_WINE64 wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH REQUIRED
  DOC "Wine's loader of 64-bit programs")
find_program(ORBISK_WINESERVER wineserver REQUIRED DOC "Keeps the Wine tests' prefix running")
find_program(ORBISK_PG_CTL pg_ctl PATHS /usr/lib/postgresql/15/bin NO_DEFAULT_PATH REQUIRED
  DOC "Starts the PostgreSQL server the archive tests run against")
get_filename_component(ORBISK_POSTGRES_BIN ${ORBISK_PG_CTL} DIRECTORY)

# The desktop program's help document and its Debian package: tools of the build that prints the
# user guide and makes the icons and compressed files, and of the test that takes the package
# apart.
if(NOT ORBISK_CORE_ONLY)
  find_program(ORBISK_PDFTOTEXT pdftotext REQUIRED
    DOC "Tells make-pdf.sh the pages of the guide's sections; reads the guide's text in its test")
  find_program(ORBISK_PDFINFO pdfinfo REQUIRED DOC "Counts the pages of the printed guide")
  find_program(ORBISK_RSVG_CONVERT rsvg-convert REQUIRED
    DOC "Renders the program's SVG icon to the PNG sizes of the icon theme")
  find_program(ORBISK_GZIP gzip REQUIRED
    DOC "Compresses the manual pages and the changelog without a time stamp")
  find_program(ORBISK_DPKG_SHLIBDEPS dpkg-shlibdeps REQUIRED
    DOC "CPack asks it for the library packages the programs depend on")
  find_program(ORBISK_DPKG_DEB dpkg-deb REQUIRED DOC "Unpacks the built package in its test")
  find_program(ORBISK_DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED
    DOC "Validates the menu entry of the package")
  find_program(ORBISK_XMLLINT xmllint REQUIRED DOC "Checks that the data file type is XML")
  find_program(ORBISK_UPDATE_MIME_DATABASE update-mime-database REQUIRED
    DOC "Registers the data file type in a scratch database in the package test")
  find_program(ORBISK_LINTIAN lintian REQUIRED DOC "Debian's own checks of the package")
  find_program(ORBISK_PERL perl REQUIRED DOC "Parses the JSON of the packaged orbisk-cli")
  find_file(ORBISK_QT_TRANSLATION_RU qtbase_ru.qm PATHS /usr/share/qt6/translations NO_DEFAULT_PATH
    REQUIRED DOC "The toolkit's own texts in Russian (buttons, file and print dialogs)")
endif()
