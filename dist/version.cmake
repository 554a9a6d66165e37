# The game's one version, for --version, the window title, the main menu,
# the man page, the metainfo and the package: the top entry of
# dist/changelog, "tavrelo (<version>-<package revision>) ...". A release
# adds an entry there and nowhere else.
#   TAVRELO_VERSION           1.16b
#   TAVRELO_PACKAGE_REVISION  1
#   TAVRELO_MAINTAINER        "Name <mail>" of that entry
#   TAVRELO_RELEASE_DATE      2026-12-07 (metainfo), TAVRELO_RELEASE_MONTH  "December 2026" (man page)
set(changelog ${CMAKE_CURRENT_LIST_DIR}/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})

function(changelog_field field variable)
  execute_process(COMMAND dpkg-parsechangelog -l ${changelog} -S ${field}
    OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
  if(failed OR value STREQUAL "")
    message(FATAL_ERROR "cannot read the ${field} of ${changelog}")
  endif()
  set(${variable} "${value}" PARENT_SCOPE)
endfunction()

changelog_field(Version full_version)
changelog_field(Maintainer TAVRELO_MAINTAINER)
changelog_field(Timestamp release_seconds)
if(NOT full_version MATCHES "^([0-9][0-9A-Za-z.+~]*)-([0-9A-Za-z.+~]+)$")
  message(FATAL_ERROR "${changelog}: version '${full_version}' is not <version>-<revision>")
endif()
set(TAVRELO_VERSION ${CMAKE_MATCH_1})
set(TAVRELO_PACKAGE_REVISION ${CMAKE_MATCH_2})

# The entry's date, not today's, so every build of one version is the same.
set(saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} ${release_seconds})
string(TIMESTAMP TAVRELO_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP TAVRELO_RELEASE_MONTH "%B %Y" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${saved_epoch}")

set(TAVRELO_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/src/core/version.h.in ${TAVRELO_GENERATED_DIR}/core/version.h @ONLY)
