// A floor that reaches up: the OpenGL floor must not know the engine's resources.
#pragma once

#include "engine/resources/loaded_texture.h"
