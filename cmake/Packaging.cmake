# Installation: the executable and its data folder live together, because the
# program reads everything from the folder that holds it.
include(GNUInstallDirs)
set(CIFRANO_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cifrano)
install(TARGETS cifrano RUNTIME DESTINATION ${CIFRANO_INSTALL_DIR})
install(DIRECTORY data/ DESTINATION ${CIFRANO_INSTALL_DIR})
