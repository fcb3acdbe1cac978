# What cmake --install puts into the prefix.
install(TARGETS quorlin-cli RUNTIME DESTINATION bin)
