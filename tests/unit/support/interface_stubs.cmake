# Stubs of the runtime's interfaces for the test fakes, written at configure
# time from the ABI headers (interface_stubs.py); included by every directory
# whose targets use the fakes.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(vesk_stub_headers ${PROJECT_SOURCE_DIR}/src/abi/corprof.h ${PROJECT_SOURCE_DIR}/src/abi/metadata.h)
set(vesk_stub_dir ${CMAKE_BINARY_DIR}/generated/test_support)
file(MAKE_DIRECTORY ${vesk_stub_dir})
execute_process(COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/interface_stubs.py
                        ${vesk_stub_dir}/interface_stubs.h ${vesk_stub_headers} COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/interface_stubs.py
                                                              ${vesk_stub_headers})
include_directories(${vesk_stub_dir} ${CMAKE_CURRENT_LIST_DIR})
