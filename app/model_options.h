// open-model's command line: the files to show and how, read in one place. Every fault is one
// line naming the option and what it accepts.
#pragma once

#include <string>
#include <vector>

#include "app/model_placement.h"

struct ModelOptions {
    std::vector<std::string> files;
    // Empty for the interactive window; otherwise the PNG to render once and write.
    std::string outputPath;
    int width = 1366;
    int height = 768;
    UpAxis up = UpAxis::PlusY;
    // Where the first animation stands in the picture --output takes.
    float seconds = 0.0f;
    std::string pipeline = "master";
    // Empty for the default lights and sky; otherwise an equirectangular HDR image (.hdr or
    // .exr) that lights the model and surrounds it. Not checked for existence here.
    std::string hdriPath;
    bool watch = false;
    bool help = false;
    bool version = false;
};

struct ParsedOptions {
    ModelOptions options;
    // Empty when the command line is good; else the one line to print before exiting with 1.
    std::string fault;
};

// arguments: the command line without the program name. "--name value" and "--name=value"
// both work; "--" ends the options.
ParsedOptions parseModelOptions(const std::vector<std::string>& arguments);

// Every option and key, for --help.
std::string modelHelpText();
// The keys alone, for the overlay H shows.
std::vector<std::string> modelKeyLines();
