# Each folder's sources are the .cpp files it holds, so that adding a file needs no build edit.
function(kestrin_sources out_var)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    list(FILTER found EXCLUDE REGEX "/main\\.cpp$")
    set(${out_var} ${found} PARENT_SCOPE)
endfunction()

# One test program per test folder, from its *_test.cpp files; each test case becomes a CTest test.
# Widget tests pass QT to get a QApplication on the offscreen platform.
function(kestrin_test_folder name)
    cmake_parse_arguments(ARG "QT" "" "LIBS" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT tests)
        return()
    endif()
    add_executable(${name} ${tests})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} kestrin_test_support GTest::gmock)
    if(ARG_QT)
        target_link_libraries(${name} PRIVATE kestrin_qt_test_main Qt6::Widgets Qt6::Test)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    include(GoogleTest)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120
                         PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# Installs `file` compressed as `destination`/NAME.gz (NAME: the file's own name), built with
# gzip -9n: the best compression and neither name nor time stamp inside, so that every build
# gives the same bytes, as Debian expects of manual pages and changelogs.
function(kestrin_install_gzipped file destination)
    get_filename_component(name ${file} NAME)
    set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
    add_custom_command(OUTPUT ${compressed}
                       COMMAND sh -c "gzip -9n <\"$0\" >\"$1\"" ${file} ${compressed}
                       DEPENDS ${file} VERBATIM)
    add_custom_target(gzip-${name} ALL DEPENDS ${compressed})
    install(FILES ${compressed} DESTINATION ${destination})
endfunction()
