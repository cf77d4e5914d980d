# The Windows program folder and its installer.
#
# Beside lumno.exe lie the Qt libraries and plugins it loads, the compiler's runtime, Qt's own
# texts in Chinese and a qt.conf that makes the folder Qt's prefix. Each file is named once here:
# it is copied into the build's program folder (${LUMNO_APP_DIR}) and installed by the same line,
# so the folder the tests and wine run and the folder the installer and the zip ship are the same.

# The set-up program lies in the program folder too: the installer runs it to make the data files
# that are missing, and only those. A GUI program here, so that a double click opens no console.
lumno_output_folder(lumno-setup ${LUMNO_APP_DIR})
set_target_properties(lumno-setup PROPERTIES WIN32_EXECUTABLE ON)

# The name of what the program holds while it runs, so the installer knows it runs.
set(LUMNO_RUNNING_MUTEX Lumno.Lumno.Running)
set(CPACK_LUMNO_RUNNING_MUTEX ${LUMNO_RUNNING_MUTEX}) # for the installer
target_compile_definitions(lumno PRIVATE LUMNO_RUNNING_MUTEX=L"${LUMNO_RUNNING_MUTEX}")

# Each program's resources: the package's drawing as its icon (made here with Debian's librsvg
# and icoutils), its version information from the project's one version, and the manifest.
set(LUMNO_TITLE "Lumno校务管理软件")
set(LUMNO_VENDOR Lumno)
find_program(RSVG_CONVERT rsvg-convert)
find_program(ICOTOOL icotool)
if(NOT RSVG_CONVERT OR NOT ICOTOOL)
    message(FATAL_ERROR "The Windows icon needs rsvg-convert and icotool (Debian packages librsvg2-bin and "
                        "icoutils); ./scripts/windows.sh installs them.")
endif()
set(LUMNO_ICO ${CMAKE_BINARY_DIR}/lumno.ico)
set(svg ${CMAKE_SOURCE_DIR}/packaging/org.lumno.Lumno.svg)
set(pngs "")
set(render "")
foreach(size 16 24 32 48 64 256)
    list(APPEND render COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o icon/${size}.png ${svg})
    if(size EQUAL 256)
        list(APPEND pngs --raw=icon/${size}.png) # kept as PNG, as Windows takes its largest size
    else()
        list(APPEND pngs icon/${size}.png)
    endif()
endforeach()
add_custom_command(OUTPUT ${LUMNO_ICO}
    COMMAND ${CMAKE_COMMAND} -E make_directory icon ${render}
    COMMAND ${ICOTOOL} -c -o ${LUMNO_ICO} ${pngs}
    DEPENDS ${svg} WORKING_DIRECTORY ${CMAKE_BINARY_DIR} COMMENT "Making the program's icon lumno.ico")
add_custom_target(windows_icon DEPENDS ${LUMNO_ICO})
set(LUMNO_MANIFEST ${CMAKE_CURRENT_LIST_DIR}/lumno.manifest)
function(lumno_resources target description)
    set(LUMNO_RC_NAME ${target})
    set(LUMNO_RC_FILE ${target}.exe)
    set(LUMNO_RC_DESCRIPTION "${description}")
    set(rc ${CMAKE_BINARY_DIR}/resources/${target}.rc)
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/program.rc.in ${rc} @ONLY)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${LUMNO_ICO};${LUMNO_MANIFEST}")
    target_sources(${target} PRIVATE ${rc})
    add_dependencies(${target} windows_icon)
endfunction()
enable_language(RC)
lumno_resources(lumno "${LUMNO_TITLE}")
lumno_resources(lumno-setup "${LUMNO_TITLE}的数据文件设置程序")
install(TARGETS lumno lumno-setup RUNTIME DESTINATION .)
target_link_options(lumno PRIVATE -s) # the shipped programs without symbols
target_link_options(lumno-setup PRIVATE -s)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/help DESTINATION .)

set(lumno_runtime_copies "")
function(lumno_ship destination)
    install(FILES ${ARGN} DESTINATION ${destination})
    foreach(file IN LISTS ARGN)
        list(APPEND lumno_runtime_copies
             COMMAND ${CMAKE_COMMAND} -E make_directory ${LUMNO_APP_DIR}/${destination}
             COMMAND ${CMAKE_COMMAND} -E copy_if_different ${file} ${LUMNO_APP_DIR}/${destination})
    endforeach()
    set(lumno_runtime_copies ${lumno_runtime_copies} PARENT_SCOPE)
endfunction()

lumno_ship(. $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets> $<TARGET_FILE:Qt6::Sql>
           $<TARGET_FILE:Qt6::PrintSupport>)
lumno_ship(platforms $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>)
# The reports: the system's printers, and the Excel writer (zlib linked into it).
if(TARGET Qt6::QWindowsPrinterSupportPlugin)
    lumno_ship(printsupport $<TARGET_FILE:Qt6::QWindowsPrinterSupportPlugin>)
endif()
lumno_ship(. ${LUMNO_XLSXWRITER_ROOT}/bin/libxlsxwriter.dll)
lumno_ship(sqldrivers $<TARGET_FILE:Qt6::QSQLiteDriverPlugin>)
lumno_ship(styles $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>)

# The mingw-w64 runtime, from the compiler's own packages, without the debugging symbols that
# Debian leaves in them (libstdc++ shrinks from 23 MB to 2 MB).
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
        message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
    endif()
    set(stripped ${CMAKE_BINARY_DIR}/mingw-runtime/${dll})
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/mingw-runtime)
    execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${stripped} ${path} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "${CMAKE_STRIP} could not strip ${path}")
    endif()
    lumno_ship(. ${stripped})
endforeach()

# Qt's own texts (context menus, standard buttons) in Chinese: from the Qt for Windows when it has
# them, else from the build machine (Debian's qt6-translations-l10n).
find_file(LUMNO_QT_ZH_QM qtbase_zh_CN.qm
          PATHS ${QT6_INSTALL_PREFIX}/translations /usr/share/qt6/translations
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(LUMNO_QT_ZH_QM)
    lumno_ship(translations ${LUMNO_QT_ZH_QM})
    # The test programs look beside themselves too, as the program does.
    list(APPEND lumno_runtime_copies
         COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tests/translations
         COMMAND ${CMAKE_COMMAND} -E copy_if_different ${LUMNO_QT_ZH_QM} ${CMAKE_BINARY_DIR}/tests/translations)
else()
    message(WARNING "qtbase_zh_CN.qm not found (Debian package qt6-translations-l10n): Qt's own texts stay English")
endif()
lumno_ship(. ${CMAKE_CURRENT_LIST_DIR}/qt.conf)

add_custom_target(windows_runtime ALL ${lumno_runtime_copies}
                  COMMENT "Copying Qt and the mingw runtime into ${LUMNO_APP_DIR}")

# The installer (NSIS, 64-bit like the program, per user, Chinese) from this folder's own
# template: CMake's stock one installs for all users with administrator rights, in English.
set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME lumno)
set(CPACK_PACKAGE_VENDOR Lumno)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME lumno-${PROJECT_VERSION}-setup)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Lumno)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Lumno)
set(CPACK_NSIS_PACKAGE_NAME "${LUMNO_TITLE} V${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
set(CPACK_NSIS_DISPLAY_NAME "${LUMNO_TITLE}")
set(CPACK_NSIS_MUI_ICON ${LUMNO_ICO})
set(CPACK_NSIS_MUI_UNIICON ${LUMNO_ICO})
set(CPACK_NSIS_UNINSTALL_NAME uninstall)
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
include(CPack)
