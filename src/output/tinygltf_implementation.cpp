// TinyGLTF's implementation, compiled into Ostrel from the header of Debian's libtinygltf-dev.
// Ostrel writes and reads only geometry, so the image code (stb) is left out; with the library
// compiled in, ostrel-cli needs no shared library of its own besides the C runtime, which keeps
// its start short (no loading and binding of libtinygltf and libstb).
// The image code is switched off for every file that includes the header (src/output's CMake
// file), so that they all see the same library.
#define TINYGLTF_IMPLEMENTATION
#include <tiny_gltf.h>
