# Read after the platform's own rules (CMAKE_USER_MAKE_RULES_OVERRIDE): DLLs
# carry no lib prefix, as Windows programs expect.
set(CMAKE_SHARED_LIBRARY_PREFIX "")
