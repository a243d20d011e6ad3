// The PNG decoder's implementation, compiled here alone with relaxed warnings.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>
