# The Windows installer, quorvane-<version>-x64.msi, beside the executable, where wixl is found.
# Its codes are derived from the name and version, not drawn at random: two builds of one
# version are the same installer, and a new version upgrades the old one.
find_program(QUORVANE_WIXL wixl)
find_program(QUORVANE_MSIBUILD msibuild)
find_program(QUORVANE_FAKETIME faketime)
if(NOT QUORVANE_WIXL OR NOT QUORVANE_MSIBUILD)
    message(STATUS "wixl or msibuild not found: no Windows installer (Debian: wixl, msitools)")
    return()
endif()
if(NOT QUORVANE_FAKETIME)
    message(STATUS "faketime not found: the installer will carry the time of its build")
endif()
set(namespace 5b6c1a3e-2f0d-4c57-9a8e-0e3c2d7f4b11)  # this project's, for name-based UUIDs
foreach(code PRODUCT PROGRAM SHORTCUT)
    string(UUID QUORVANE_MSI_${code} NAMESPACE ${namespace}
           NAME "${QUORVANE_APP_ID} ${code} ${PROJECT_VERSION}" TYPE SHA1 UPPER)
endforeach()
string(UUID QUORVANE_MSI_UPGRADE NAMESPACE ${namespace} NAME "${QUORVANE_APP_ID} upgrade"
       TYPE SHA1 UPPER)
# wixl reads its sources by names relative to the folder it runs in.
configure_file(${PROJECT_SOURCE_DIR}/resources/quorvane.ico ${PROJECT_BINARY_DIR}/quorvane.ico
               COPYONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/quorvane.wxs.in ${PROJECT_BINARY_DIR}/quorvane.wxs @ONLY)
set(msi ${PROJECT_BINARY_DIR}/${QUORVANE_NAME}-${PROJECT_VERSION}-x64.msi)
add_custom_command(OUTPUT ${msi}
    COMMAND ${CMAKE_COMMAND} -DWIXL=${QUORVANE_WIXL} -DMSIBUILD=${QUORVANE_MSIBUILD}
            -DFAKETIME=${QUORVANE_FAKETIME} -DWXS=${PROJECT_BINARY_DIR}/quorvane.wxs
            -DEXE=${PROJECT_BINARY_DIR}/${QUORVANE_NAME}.exe -DMSI=${msi}
            -DRELEASE_DATE=${QUORVANE_RELEASE_DATE} -DNAMESPACE=${namespace} -DNAME=${QUORVANE_NAME}
            "-DTITLE=${QUORVANE_DISPLAY_NAME} ${PROJECT_VERSION}" "-DAUTHOR=${QUORVANE_DEVELOPERS}"
            -P ${CMAKE_CURRENT_LIST_DIR}/msi.cmake
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/msi.cmake quorvane ${PROJECT_BINARY_DIR}/quorvane.wxs ${PROJECT_SOURCE_DIR}/resources/quorvane.ico
    COMMENT "Building the Windows installer")
add_custom_target(msi ALL DEPENDS ${msi})
