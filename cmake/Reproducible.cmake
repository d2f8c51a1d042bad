# SPDX-License-Identifier: Apache-2.0
# The same sources give the same binaries wherever and whenever they are built: the folders of
# the build are mapped to fixed names in debug information, __FILE__ and assertion texts, so no
# build path reaches the programs (nor their build ids, which hash the debug information).
add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}=."
                    "-ffile-prefix-map=${PROJECT_BINARY_DIR}=build")
# Build-time run paths relative to the programs, so installing rewrites the same bytes in every
# build folder.
set(CMAKE_BUILD_RPATH_USE_ORIGIN ON)
