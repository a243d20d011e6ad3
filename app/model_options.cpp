#include "app/model_options.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace {

// Enough for any screen and small enough that the off-screen target stays allocatable.
const int kLargestSide = 16384;

const char* const kOptionLines[] = {
    "  --output FILE.png   render once, without a window or display, and write FILE.png",
    "  --resolution WxH    window and picture size (default 1366x768)",
    "  --up AXIS           the file's up axis: +X, -X, +Y (default), -Y, +Z or -Z",
    "  --time SECONDS      where the first animation stands in the --output picture (default 0)",
    "  --pipeline NAME     master (default) or simple",
    "  --hdri FILE         light the model with an equirectangular HDR image (.hdr, .exr)",
    "                      instead of the default lights, and show it around the model",
    "  --watch             reload the file whenever it changes on disk",
    "  --help              show this text",
    "  --version           show the version",
};

const char* const kKeyLines[] = {
    "W S A D      fly forward, back, left, right",
    "mouse        turn (in orbit: left drag turns, right drag pans, wheel zooms)",
    "Tab          switch between free flight and orbit around the model",
    "R            back to the first view",
    "Space        pause and resume the animation",
    "N            the next animation",
    "F5           reload the file",
    "F12          save a screenshot NAME-N.png in the current folder",
    "PageDown/Up  the next, previous file",
    "H            show and hide this list",
    "F3           switch the pipeline",
    "F1           full screen",
    "Esc          quit",
};

std::optional<UpAxis> upAxisNamed(const std::string& text) {
    const std::string names[] = {"+X", "-X", "+Y", "-Y", "+Z", "-Z"};
    const UpAxis axes[] = {UpAxis::PlusX,  UpAxis::MinusX, UpAxis::PlusY,
                           UpAxis::MinusY, UpAxis::PlusZ,  UpAxis::MinusZ};
    for (int index = 0; index < 6; ++index) {
        // The sign may be left out for a positive axis, and the letter may be lower case.
        const std::string& name = names[index];
        const std::string lower = {name[0], static_cast<char>(name[1] - 'A' + 'a')};
        if (text == name || text == lower ||
            (name[0] == '+' && (text == name.substr(1) || text == lower.substr(1)))) {
            return axes[index];
        }
    }
    return std::nullopt;
}

std::optional<int> sideNamed(const std::string& text) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const int side = std::atoi(text.c_str());
    if (side < 1 || side > kLargestSide) {
        return std::nullopt;
    }
    return side;
}

bool readResolution(const std::string& text, ModelOptions& options) {
    const std::string::size_type cross = text.find_first_of("xX");
    if (cross == std::string::npos) {
        return false;
    }
    const std::optional<int> width = sideNamed(text.substr(0, cross));
    const std::optional<int> height = sideNamed(text.substr(cross + 1));
    if (!width || !height) {
        return false;
    }
    options.width = *width;
    options.height = *height;
    return true;
}

bool readSeconds(const std::string& text, float& seconds) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || errno != 0 || !std::isfinite(value) || value < 0.0) {
        return false;
    }
    seconds = static_cast<float>(value);
    return true;
}

bool hasSuffix(const std::string& text, const std::string& suffix) {
    return text.size() > suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool hasOtherExtension(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string::size_type dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        return false;
    }
    return !hasSuffix(name, ".png") && !hasSuffix(name, ".PNG");
}

// A .hdr or .exr file name, in any case.
bool isHdriName(const std::string& path) {
    std::string lower = path;
    for (char& character : lower) {
        character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    }
    const std::string::size_type slash = lower.rfind('/');
    const std::string name = slash == std::string::npos ? lower : lower.substr(slash + 1);
    return hasSuffix(name, ".hdr") || hasSuffix(name, ".exr");
}

// The option's value fault, or empty when the value was taken.
std::string readValue(const std::string& name, const std::string& value, ModelOptions& options) {
    if (name == "--output") {
        // A thumbnailer's temporary file may have no extension; another one would mislead.
        if (value.empty() || value.back() == '/' || hasOtherExtension(value)) {
            return "--output takes the path of a .png file to write, not '" + value + "'";
        }
        options.outputPath = value;
    } else if (name == "--resolution") {
        if (!readResolution(value, options)) {
            return "--resolution takes WIDTHxHEIGHT in pixels, each 1 to " +
                   std::to_string(kLargestSide) + " (such as 1366x768), not '" + value + "'";
        }
    } else if (name == "--up") {
        const std::optional<UpAxis> axis = upAxisNamed(value);
        if (!axis) {
            return "--up takes +X, -X, +Y, -Y, +Z or -Z, not '" + value + "'";
        }
        options.up = *axis;
    } else if (name == "--time") {
        if (!readSeconds(value, options.seconds)) {
            return "--time takes a number of seconds, 0 or more (such as 1.5), not '" + value + "'";
        }
    } else if (name == "--pipeline") {
        if (value != "master" && value != "simple") {
            return "--pipeline takes master or simple, not '" + value + "'";
        }
        options.pipeline = value;
    } else if (name == "--hdri") {
        if (!isHdriName(value)) {
            return "--hdri takes the path of a .hdr or .exr file, not '" + value + "'";
        }
        options.hdriPath = value;
    }
    return std::string();
}

bool takesValue(const std::string& name) {
    return name == "--output" || name == "--resolution" || name == "--up" || name == "--time" ||
           name == "--pipeline" || name == "--hdri";
}

bool isSwitch(const std::string& name) {
    return name == "--watch" || name == "--help" || name == "--version" || name == "-h";
}

void setSwitch(const std::string& name, ModelOptions& options) {
    if (name == "--watch") {
        options.watch = true;
    } else if (name == "--version") {
        options.version = true;
    } else {
        options.help = true;
    }
}

}  // namespace

ParsedOptions parseModelOptions(const std::vector<std::string>& arguments) {
    ParsedOptions parsed;
    ModelOptions& options = parsed.options;
    bool optionsEnded = false;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            options.files.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const std::string::size_type equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        if (isSwitch(name) && equals == std::string::npos) {
            setSwitch(name, options);
            continue;
        }
        if (isSwitch(name)) {
            parsed.fault = name + " takes no value";
            return parsed;
        }
        if (!takesValue(name)) {
            parsed.fault = "unknown option '" + name + "' (open-model --help lists them)";
            return parsed;
        }
        if (equals == std::string::npos && at + 1 == arguments.size()) {
            parsed.fault = name + " needs a value (open-model --help says which)";
            return parsed;
        }
        const std::string value =
            equals == std::string::npos ? arguments[++at] : argument.substr(equals + 1);
        parsed.fault = readValue(name, value, options);
        if (!parsed.fault.empty()) {
            return parsed;
        }
    }
    if (!options.help && !options.version && options.files.empty()) {
        parsed.fault = "no file named; usage: open-model [OPTIONS] FILE... (open-model --help)";
    }
    return parsed;
}

std::string modelHelpText() {
    std::string text =
        "usage: open-model [OPTIONS] FILE...\n"
        "Shows model files in a window, or renders one to a PNG picture: glTF 2.0 (.glb, .gltf),\n"
        ".obj, .stl, .ply, .fbx, .dae, .3ds, .off and .3mf.\n"
        "With several files, PageDown and PageUp move between them.\n\n"
        "options:\n";
    for (const char* line : kOptionLines) {
        text += std::string(line) + "\n";
    }
    text += "\nkeys:\n";
    for (const char* line : kKeyLines) {
        text += "  " + std::string(line) + "\n";
    }
    return text;
}

std::vector<std::string> modelKeyLines() {
    return std::vector<std::string>(std::begin(kKeyLines), std::end(kKeyLines));
}
