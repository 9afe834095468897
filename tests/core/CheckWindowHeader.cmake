# The main window stays behind MAppServices: outside app/core and app/main.cpp, no file
# of the application includes core/MAppWnd.h.
#   cmake -DSOURCE_DIR=<project folder> -P CheckWindowHeader.cmake

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/app/*.h ${SOURCE_DIR}/app/*.cpp)
set(offenders "")
foreach(source ${sources})
    if(source MATCHES "^app/core/" OR source STREQUAL "app/main.cpp")
        continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]+[\"<]core/MAppWnd\\.h[\">]")
    if(includes)
        list(APPEND offenders ${source})
    endif()
endforeach()
if(offenders)
    string(REPLACE ";" "\n  " list "${offenders}")
    message(FATAL_ERROR "core/MAppWnd.h is included outside app/core:\n  ${list}")
endif()
