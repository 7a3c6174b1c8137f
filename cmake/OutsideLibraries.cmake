# The outside libraries, from Debian's i386 development packages. Each one is found here once,
# as an imported target of the name the targets link, so that a missing package stops the
# configure step with the package's name instead of a link step with a bare "-lNAME".

# vt_outside_library(TARGET LIBRARY PACKAGE)
function(vt_outside_library target library package)
  find_library(VT_LIBRARY_${target} NAMES ${library})
  if(NOT VT_LIBRARY_${target})
    message(STATUS "The library ${library} comes with the package ${package} (scripts/setup-machine installs it)")
  endif()
  find_library(VT_LIBRARY_${target} NAMES ${library} REQUIRED)
  add_library(${target} UNKNOWN IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${VT_LIBRARY_${target}})
endfunction()

vt_outside_library(z z zlib1g-dev:i386)
vt_outside_library(jpeg jpeg libjpeg-dev:i386)
vt_outside_library(tiff tiff libtiff-dev:i386)
vt_outside_library(hpdf hpdf libhpdf-dev:i386)
vt_outside_library(podofo podofo libpodofo-dev:i386)
vt_outside_library(pugixml pugixml libpugixml-dev:i386)
vt_outside_library(boost_serialization boost_serialization libboost-serialization-dev:i386)
vt_outside_library(boost_wserialization boost_wserialization libboost-serialization-dev:i386)
vt_outside_library(gtest libgtest.a libgtest-dev:i386)
