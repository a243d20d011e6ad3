// Neuron variants: a lumpy cell body with branching dendrites and one myelinated axon whose
// terminal branches end in bulbs that are drawn glowing.
#pragma once

#include "mesh.h"

namespace content {

constexpr int kNeuronVariants = 6;

struct NeuronMeshes {
    Mesh membrane;
    Mesh terminals;
};

NeuronMeshes buildNeuron(int variant);

}  // namespace content
