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
find_program(ORBISK_MINGW_CXX NAMES i686-w64-mingw32-g++-posix i686-w64-mingw32-g++ REQUIRED
  DOC "Cross compiler that keeps the core compiling for 32-bit Windows")
find_file(ORBISK_QT_TRANSLATION_RU qtbase_ru.qm PATHS /usr/share/qt6/translations NO_DEFAULT_PATH
  REQUIRED DOC "The toolkit's own texts in Russian (buttons, file and print dialogs)")
