# FindTIFF for the static Windows libraries: CMake's own module, then the libraries libtiff itself
# uses (a static archive does not name them, so every program linking TIFF::TIFF gets them after it).
include(${CMAKE_ROOT}/Modules/FindTIFF.cmake)
if(TIFF_FOUND AND TARGET TIFF::TIFF)
    find_package(JPEG REQUIRED)
    find_package(ZLIB REQUIRED)
    set_property(TARGET TIFF::TIFF APPEND PROPERTY INTERFACE_LINK_LIBRARIES JPEG::JPEG ZLIB::ZLIB)
endif()
