# Every third-party dependency is found here, once; a missing one stops configuration with the
# Debian package that provides it.
find_package(PkgConfig)
if(NOT PkgConfig_FOUND)
    message(FATAL_ERROR "pkg-config is missing: apt-get install pkg-config")
endif()

find_package(Qt6 COMPONENTS Core Gui Widgets Network Svg Concurrent)
if(NOT Qt6_FOUND)
    message(FATAL_ERROR "Qt 6 is missing: apt-get install qt6-base-dev libqt6svg6-dev")
endif()

# The results window plays local videos in its preview pane. Installed by scripts/install-deps.sh;
# without it the pane shows the video's icon instead of a player.
find_package(Qt6 COMPONENTS Multimedia MultimediaWidgets DBus QUIET)
if(TARGET Qt6::MultimediaWidgets)
    set(QNY_HAVE_MULTIMEDIA ON)
else()
    set(QNY_HAVE_MULTIMEDIA OFF)
    message(WARNING "Qt Multimedia is missing, videos are not played in the preview: apt-get install qt6-multimedia-dev")
endif()

# Browser sign-in for the cloud sources, and the desktop's secret store for their tokens.
find_package(Qt6 COMPONENTS NetworkAuth QUIET)
if(NOT TARGET Qt6::NetworkAuth)
    message(FATAL_ERROR "Qt Network Authorization is missing: apt-get install qt6-networkauth-dev")
endif()
find_package(Qt6Keychain QUIET)
if(NOT TARGET qt6keychain)
    message(FATAL_ERROR "QtKeychain is missing: apt-get install qtkeychain-qt6-dev")
endif()

find_package(SQLite3)
if(NOT SQLite3_FOUND)
    message(FATAL_ERROR "SQLite 3 is missing: apt-get install libsqlite3-dev")
endif()

function(qny_require_pkg var module package)
    pkg_check_modules(${var} IMPORTED_TARGET ${module})
    if(NOT ${var}_FOUND)
        message(FATAL_ERROR "${module} is missing: apt-get install ${package}")
    endif()
endfunction()

qny_require_pkg(EXIV2 exiv2 libexiv2-dev)
qny_require_pkg(HEIF libheif libheif-dev)
# libheif's HEVC decoder, driven by a decoder of ours that reduces while it converts.
qny_require_pkg(DE265 libde265 libde265-dev)
qny_require_pkg(LIBRAW libraw_r libraw-dev)
qny_require_pkg(PLIST libplist-2.0 libplist-dev)

if(QNY_BUILD_TESTS)
    find_package(GTest)
    if(NOT GTest_FOUND)
        message(FATAL_ERROR "GoogleTest is missing: apt-get install libgtest-dev libgmock-dev")
    endif()
    include(GoogleTest)
    # Window tests type keys the way the window system delivers them (shortcuts included).
    find_package(Qt6 COMPONENTS Test REQUIRED)
    # The install check validates the desktop entry.
    find_program(QNY_DESKTOP_FILE_VALIDATE desktop-file-validate)
    if(NOT QNY_DESKTOP_FILE_VALIDATE)
        message(FATAL_ERROR "desktop-file-validate is missing: apt-get install desktop-file-utils")
    endif()
endif()
if(QNY_BUILD_BENCH)
    find_package(benchmark)
    if(NOT benchmark_FOUND)
        message(FATAL_ERROR "Google Benchmark is missing: apt-get install libbenchmark-dev")
    endif()
endif()
