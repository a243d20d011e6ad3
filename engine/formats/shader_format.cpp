#include "engine/formats/shader_format.h"

#include <algorithm>
#include <new>

#include "engine/formats/format_error.h"
#include "engine/formats/quoted_text.h"
#include "engine/formats/xml_source.h"

namespace engine {
namespace {

constexpr const char* kVersionLine = "#version 120\n";

// Reads the file line by line; each directive line switches where the following code goes.
class ShaderReader {
  public:
    ShaderDesc read(std::string_view text);

  private:
    enum class Section { Preamble, Shared, ContextHead, Vertex, Fragment };

    ShaderDesc shader_;
    Section section_ = Section::Preamble;
    bool sawShared_ = false;
    bool sawVertex_ = false;
    bool sawFragment_ = false;
    int lineNumber_ = 0;

    void readLine(std::string_view line);
    void readDirective(std::string_view directive);
    void openContext(std::string_view name);
    void openStage(ShaderStage stage);
    void appendCode(std::string_view line);
    void finishContext();
    [[noreturn]] void fail(const std::string& fault) const;
    [[noreturn]] void failAt(int line, const std::string& fault) const;
};

std::string_view trimmed(std::string_view text);

}  // namespace

Parsed<ShaderDesc> parseShader(std::string_view text) {
    try {
        ShaderReader reader;
        return Parsed<ShaderDesc>::success(reader.read(text));
    } catch (const FormatError& error) {
        return Parsed<ShaderDesc>::failure(error.what());
    } catch (const std::bad_alloc&) {
        return Parsed<ShaderDesc>::failure("out of memory");
    }
}

const ShaderContextDesc* findContext(const ShaderDesc& shader, std::string_view name) {
    auto found =
        std::find_if(shader.contexts.begin(), shader.contexts.end(),
                     [name](const ShaderContextDesc& context) { return context.name == name; });
    return found == shader.contexts.end() ? nullptr : &*found;
}

std::string composeProgramSource(const ShaderDesc& shader, const ShaderContextDesc& context,
                                 ShaderStage stage, const std::vector<std::string>& defines) {
    const std::string& code =
        stage == ShaderStage::Vertex ? context.vertexSource : context.fragmentSource;
    std::string source = kVersionLine;
    source += stage == ShaderStage::Vertex ? "#define VERTEX_PROGRAM 1\n"
                                           : "#define FRAGMENT_PROGRAM 1\n";
    for (const std::string& define : defines) {
        source += "#define " + define + " 1\n";
    }
    // The file's code keeps the line numbers it has after the version line alone.
    return source + "#line 2\n" + shader.sharedSource + code;
}

namespace {

ShaderDesc ShaderReader::read(std::string_view text) {
    std::size_t position = 0;
    while (position < text.size()) {
        std::size_t end = text.find('\n', position);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(position, end - position);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ++lineNumber_;
        readLine(line);
        position = end + 1;
    }
    finishContext();
    if (shader_.contexts.empty()) {
        fail("a shader file needs at least one @context");
    }
    return std::move(shader_);
}

void ShaderReader::readLine(std::string_view line) {
    std::string_view content = trimmed(line);
    if (!content.empty() && content.front() == '@') {
        readDirective(content);
        return;
    }
    if (content.rfind("#version", 0) == 0) {
        fail("remove the #version line: every program is GLSL 1.20 and the engine writes it");
    }
    bool isComment = content.empty() || content.rfind("//", 0) == 0;
    if (section_ == Section::Preamble && !isComment) {
        fail("code before the first @shared or @context");
    }
    if (section_ == Section::ContextHead && !isComment) {
        fail("code before @vertex or @fragment");
    }
    if (section_ != Section::Preamble && section_ != Section::ContextHead) {
        appendCode(line);
    }
}

void ShaderReader::readDirective(std::string_view directive) {
    std::size_t blank = directive.find_first_of(" \t");
    std::string_view word = directive.substr(0, blank);
    std::string_view argument =
        blank == std::string_view::npos ? std::string_view() : trimmed(directive.substr(blank));
    if (word == "@context") {
        openContext(argument);
        return;
    }
    if (!argument.empty()) {
        fail(printableExcerpt(word) + " takes no argument");
    }
    if (word == "@shared") {
        if (sawShared_ || section_ != Section::Preamble) {
            fail("@shared must come once, before the first @context");
        }
        sawShared_ = true;
        section_ = Section::Shared;
    } else if (word == "@vertex") {
        openStage(ShaderStage::Vertex);
    } else if (word == "@fragment") {
        openStage(ShaderStage::Fragment);
    } else {
        fail("unknown directive " + printableExcerpt(word) +
             " (@shared, @context, @vertex, @fragment)");
    }
}

void ShaderReader::openContext(std::string_view name) {
    finishContext();
    std::string contextName(name);
    if (!isGlslIdentifier(contextName)) {
        fail("@context needs a name of letters, digits and '_'");
    }
    if (findContext(shader_, contextName) != nullptr) {
        fail("a second context named " + quotedExcerpt(contextName));
    }
    shader_.contexts.push_back({contextName, lineNumber_, "", ""});
    section_ = Section::ContextHead;
    sawVertex_ = false;
    sawFragment_ = false;
}

void ShaderReader::openStage(ShaderStage stage) {
    if (shader_.contexts.empty() || section_ == Section::Shared) {
        fail("@vertex and @fragment belong inside a @context");
    }
    bool isVertex = stage == ShaderStage::Vertex;
    bool& seen = isVertex ? sawVertex_ : sawFragment_;
    if (seen) {
        fail("context " + quotedExcerpt(shader_.contexts.back().name) + " already has a " +
             (isVertex ? "vertex" : "fragment") + " program");
    }
    seen = true;
    section_ = isVertex ? Section::Vertex : Section::Fragment;
}

void ShaderReader::appendCode(std::string_view line) {
    std::string& target = section_ == Section::Shared   ? shader_.sharedSource
                          : section_ == Section::Vertex ? shader_.contexts.back().vertexSource
                                                        : shader_.contexts.back().fragmentSource;
    target.append(line);
    target.push_back('\n');
}

void ShaderReader::finishContext() {
    if (shader_.contexts.empty()) {
        return;
    }
    const ShaderContextDesc& context = shader_.contexts.back();
    if (trimmed(context.vertexSource).empty()) {
        failAt(context.line, "context " + quotedExcerpt(context.name) + " has no vertex program");
    }
    if (trimmed(context.fragmentSource).empty()) {
        failAt(context.line, "context " + quotedExcerpt(context.name) + " has no fragment program");
    }
}

void ShaderReader::fail(const std::string& fault) const {
    failAt(lineNumber_, fault);
}

void ShaderReader::failAt(int line, const std::string& fault) const {
    throw FormatError("line " + std::to_string(line) + ": " + fault);
}

std::string_view trimmed(std::string_view text) {
    std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return std::string_view();
    }
    std::size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

}  // namespace
}  // namespace engine
