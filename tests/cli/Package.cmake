# Builds the Debian package from the built tree, unpacks it into a scratch
# root and checks what it holds: the programs find their data there when run
# from an empty folder, write nothing beside themselves, and the desktop
# entry, AppStream metadata, manual pages and package pass their validators,
# and apt would install it.
# Needs BUILD_DIR, VERSION, INSTALL_DATA_DIR.
function(need tool package)
  find_program(found_${tool} ${tool})
  if(NOT found_${tool})
    message(FATAL_ERROR "${tool} is missing: install the Debian package ${package} "
                        "(scripts/install-deps.sh installs it)")
  endif()
  set(${tool} ${found_${tool}} PARENT_SCOPE)
endfunction()
need(cpack cmake)
need(dpkg-deb dpkg)
need(dpkg-shlibdeps dpkg-dev)
need(desktop-file-validate desktop-file-utils)
need(appstreamcli appstream)
need(man man-db)
need(lintian lintian)
need(apt-get apt)

# run(NAME expected-status command...): fails on another status.
macro(run name expected)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err
    WORKING_DIRECTORY ${work})
  if(NOT status STREQUAL "${expected}")
    message(FATAL_ERROR "${name}: exit status ${status}, expected ${expected}\n"
                        "stdout:\n${out}\nstderr:\n${err}")
  endif()
endmacro()

set(scratch ${BUILD_DIR}/package-test)
file(REMOVE_RECURSE ${scratch})
set(root ${scratch}/root)
set(work ${scratch}/work)
file(MAKE_DIRECTORY ${root} ${work} ${scratch}/home)

run(cpack 0 ${cpack} --config ${BUILD_DIR}/CPackConfig.cmake -B ${scratch}/out)
file(GLOB debs ${scratch}/out/veltrane_${VERSION}_*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one veltrane_${VERSION}_*.deb, found: ${debs}\n${out}")
endif()
run(dpkg-deb-field 0 ${dpkg-deb} --field ${debs} Depends Section)
if(NOT out MATCHES "libc6.*libqt6widgets6" OR NOT out MATCHES "Section: utils")
  message(FATAL_ERROR "the package's Depends and Section are not what the programs need:\n${out}")
endif()
run(dpkg-deb-x 0 ${dpkg-deb} -x ${debs} ${root})

set(share ${root}/usr/share)
foreach(file bin/veltrane bin/veltrane-cli share/veltrane/cpudef.dat share/veltrane/PCIDef.dat
    share/veltrane/database1.dat share/applications/veltrane.desktop
    share/metainfo/org.veltrane.Veltrane.metainfo.xml share/icons/hicolor/scalable/apps/veltrane.svg
    share/icons/hicolor/16x16/apps/veltrane.png share/icons/hicolor/256x256/apps/veltrane.png
    share/man/man1/veltrane-cli.1.gz share/man/man1/veltrane.1.gz
    share/bash-completion/completions/veltrane-cli share/doc/veltrane/copyright)
  if(NOT EXISTS ${root}/usr/${file})
    message(FATAL_ERROR "the package has no /usr/${file}")
  endif()
endforeach()
if(EXISTS ${root}/usr/bin/veltrane-bench)
  message(FATAL_ERROR "veltrane-bench is a developers' tool, not for the package")
endif()

# The unpacked programs, from an empty folder, with a scratch home.
set(ENV{HOME} ${scratch}/home)
set(ENV{XDG_DATA_HOME} ${scratch}/home/data)
set(ENV{XDG_STATE_HOME} ${scratch}/home/state)
unset(ENV{VELTRANE_CPUID_FILE})
file(GLOB_RECURSE before LIST_DIRECTORIES true ${root}/*)
run(version 0 ${root}/usr/bin/veltrane-cli --version)
if(NOT out STREQUAL "veltrane-cli ${VERSION}\n")
  message(FATAL_ERROR "veltrane-cli --version says '${out}', the project is ${VERSION}")
endif()
run(gui-version 0 ${root}/usr/bin/veltrane --version)
if(NOT out STREQUAL "veltrane ${VERSION}\n")
  message(FATAL_ERROR "veltrane --version says '${out}', the project is ${VERSION}")
endif()
# The processor's names come from cpumodels.dat and cpudef.dat: the same page
# as the build tree's program, which has the data beside it, means found.
run(info-build-tree 0 ${BUILD_DIR}/bin/veltrane-cli info cpu --no-clock)
set(expected "${out}")
run(info 0 ${root}/usr/bin/veltrane-cli info cpu --no-clock)
if(NOT out MATCHES "Vendor String: +[A-Za-z]+" OR NOT out STREQUAL expected)
  message(FATAL_ERROR "info cpu did not find its data:\n${out}\n${err}\n"
                      "the build tree's program shows:\n${expected}")
endif()
run(run 0 ${root}/usr/bin/veltrane-cli run --tests 4 --no-save)
if(NOT out MATCHES "MIPS Result +[1-9]" OR NOT EXISTS ${work}/tempdata)
  message(FATAL_ERROR "run --tests 4 gave no MIPS figure or no ./tempdata:\n${out}\n${err}")
endif()
# --compare reads database1.dat: a missing one ends the run with status 255.
run(run-compare 0 ${root}/usr/bin/veltrane-cli run --tests 4 --no-save --compare)
file(GLOB_RECURSE after LIST_DIRECTORIES true ${root}/*)
if(NOT before STREQUAL after)
  message(FATAL_ERROR "running the programs wrote into the installed tree")
endif()
# Without its share folder the run must fail: the data came from the package.
if(NOT EXISTS ${INSTALL_DATA_DIR})
  file(RENAME ${share}/veltrane ${share}/veltrane.away)
  run(run-without-data 255 ${root}/usr/bin/veltrane-cli run --tests 4 --no-save --compare)
  file(RENAME ${share}/veltrane.away ${share}/veltrane)
endif()

run(desktop-file-validate 0 ${desktop-file-validate} ${share}/applications/veltrane.desktop)
if(NOT out STREQUAL "" OR NOT err STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate:\n${out}${err}")
endif()
run(appstreamcli 0 ${appstreamcli} validate --no-net
  ${share}/metainfo/org.veltrane.Veltrane.metainfo.xml)
file(READ ${share}/metainfo/org.veltrane.Veltrane.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<release version=\"${VERSION}\" date=\"[0-9-]+\"")
  message(FATAL_ERROR "the metainfo's release is not version ${VERSION}")
endif()
set(ENV{LC_ALL} C.UTF-8)
set(ENV{MANWIDTH} 80)
foreach(page veltrane-cli veltrane)
  run(man-${page} 0 ${man} --warnings -l ${share}/man/man1/${page}.1.gz)
  if(NOT err STREQUAL "")
    message(FATAL_ERROR "man ${page}.1 warns:\n${err}")
  endif()
endforeach()
run(lintian 0 ${lintian} --fail-on error ${debs})
message(STATUS "lintian:\n${out}")

# apt would install it here: every dependency the binaries need is to be had.
# Simulated, so the test never changes the system it runs on.
run(apt-get-simulate 0 ${apt-get} install --simulate --no-install-recommends ${debs})
if(NOT out MATCHES "Inst veltrane \\(${VERSION}")
  message(FATAL_ERROR "apt-get would not install the package:\n${out}\n${err}")
endif()
