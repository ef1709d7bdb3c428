# The sample files of the file checks, made by the build in testfiles/: a DLL
# of resources only with version information (never run), and the signed,
# altered and damaged copies tests/files/make-samples.sh makes of it.
find_program(BRV_WINDRES x86_64-w64-mingw32-windres REQUIRED)
find_program(BRV_MINGW_LD x86_64-w64-mingw32-ld REQUIRED)
find_program(BRV_OPENSSL openssl REQUIRED)
find_program(BRV_OSSLSIGNCODE osslsigncode REQUIRED)
set(BRV_TESTFILES ${CMAKE_BINARY_DIR}/testfiles)
add_custom_command(OUTPUT ${BRV_TESTFILES}/sample.dll ${BRV_TESTFILES}/signed.dll
  COMMAND ${CMAKE_COMMAND} -E make_directory ${BRV_TESTFILES}
  COMMAND ${BRV_WINDRES} ${CMAKE_SOURCE_DIR}/tests/files/sample.rc -O coff
    -o ${BRV_TESTFILES}/sample.o
  COMMAND ${BRV_MINGW_LD} --dll --entry 0 ${BRV_TESTFILES}/sample.o -o ${BRV_TESTFILES}/sample.dll
  COMMAND sh ${CMAKE_SOURCE_DIR}/tests/files/make-samples.sh ${BRV_TESTFILES}
  DEPENDS tests/files/sample.rc tests/files/make-samples.sh)
add_custom_target(test_samples DEPENDS ${BRV_TESTFILES}/sample.dll ${BRV_TESTFILES}/signed.dll)
