# The game and the layers it links are built with Debian's hardening flags,
# as dpkg-buildflags gives them (stack protector, fortified C library calls,
# format checks, read-only relocations bound at start-up). The optimisation,
# debug and path options stay the build type's, and a Debug build (-O0)
# leaves the fortified calls out, which need optimisation. The sanitized
# test libraries keep their own flags.
function(dpkg_build_flags kind variable)
  execute_process(COMMAND env DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get ${kind}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "dpkg-buildflags --get ${kind} failed (package dpkg-dev)")
  endif()
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-g|^-O|^-ffile-prefix-map=")
  set(${variable} ${flags} PARENT_SCOPE)
endfunction()

dpkg_build_flags(CXXFLAGS hardening_compile)
dpkg_build_flags(CPPFLAGS hardening_preprocess)
dpkg_build_flags(LDFLAGS hardening_link)
set(hardened tavrelo tavrelo_core tavrelo_sim tavrelo_render tavrelo_screens tavrelo_app)
if(TARGET tavrelo_files)
  list(APPEND hardened tavrelo_files)
endif()
foreach(target ${hardened})
  target_compile_options(${target} PRIVATE ${hardening_compile} "$<$<NOT:$<CONFIG:Debug>>:${hardening_preprocess}>")
endforeach()
target_link_options(tavrelo PRIVATE ${hardening_link})
