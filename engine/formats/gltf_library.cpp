// The one translation unit that compiles tinygltf. Images are not decoded here (they become
// textures of their own), images beside the file are not read, and files are reached only
// through the callbacks the loader installs. Its writer still names std::ofstream, which the
// file-free build leaves undeclared.
#include <fstream>

#define TINYGLTF_IMPLEMENTATION
#include <tiny_gltf.h>
