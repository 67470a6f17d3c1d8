# Builds the installer: cmake -DWIXL=… -DMSIBUILD=… -DFAKETIME=… -DWXS=… -DEXE=… -DMSI=…
#   -DRELEASE_DATE=YYYY-MM-DD -DNAMESPACE=uuid -DNAME=quorvane -P msi.cmake
# wixl stamps the time of the build into the installer and draws its package code at random:
# the time is held at noon of the release date, the clock standing still (faketime -f), and the
# package code is set from the executable's contents afterwards, so that the same sources give
# the same installer while a different executable gets a different package code, as Windows
# Installer requires.
# The cabinet keeps each file's time as well: the executable goes in as a copy of the release date.
get_filename_component(folder ${WXS} DIRECTORY)
file(COPY ${EXE} DESTINATION ${folder}/msi-files)
execute_process(COMMAND touch -d "${RELEASE_DATE} 12:00:00 UTC" ${folder}/msi-files/${NAME}.exe)
# The release date's noon is UTC's, in the time zone of any build; the cabinet's local times too.
set(ENV{TZ} UTC)
set(clock)
if(FAKETIME)
    # -f: the clock stands still, so a slow build cannot carry the next second into it.
    set(clock ${FAKETIME} -f "${RELEASE_DATE} 12:00:00")
endif()
execute_process(COMMAND ${clock} ${WIXL} --arch x64 -o ${MSI} ${WXS}
                WORKING_DIRECTORY ${folder} RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "wixl failed")
endif()
file(SHA256 ${EXE} contents)
string(UUID package NAMESPACE ${NAMESPACE} NAME "package ${contents}" TYPE SHA1 UPPER)
execute_process(COMMAND ${MSIBUILD} ${MSI} -s "${TITLE}" "${AUTHOR}" "x64;1033" "{${package}}"
                RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "msibuild could not set the package code")
endif()
