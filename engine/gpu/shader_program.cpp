#include "engine/gpu/shader_program.h"

#include <vector>

#include "engine/gpu/vertex_attributes.h"

namespace engine {
namespace {

std::optional<GlShader> compileStage(GLenum stage, const std::string& source, std::string& error);
std::string shaderLog(GLuint shader);
std::string programLog(GLuint program);

}  // namespace

std::optional<GlProgram> buildProgram(const std::string& vertexSource,
                                      const std::string& fragmentSource, std::string& error) {
    std::optional<GlShader> vertex = compileStage(GL_VERTEX_SHADER, vertexSource, error);
    if (!vertex) {
        error = "vertex program: " + error;
        return std::nullopt;
    }
    std::optional<GlShader> fragment = compileStage(GL_FRAGMENT_SHADER, fragmentSource, error);
    if (!fragment) {
        error = "fragment program: " + error;
        return std::nullopt;
    }
    GlProgram program(glCreateProgram());
    glAttachShader(program.get(), vertex->get());
    glAttachShader(program.get(), fragment->get());
    for (const VertexAttribute& attribute : kVertexAttributes) {
        glBindAttribLocation(program.get(), attribute.location, attribute.name);
    }
    glLinkProgram(program.get());
    // Once linked, the program keeps what it needs; the stages go with their owners.
    glDetachShader(program.get(), vertex->get());
    glDetachShader(program.get(), fragment->get());
    GLint linked = GL_FALSE;
    glGetProgramiv(program.get(), GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        error = "link: " + programLog(program.get());
        return std::nullopt;
    }
    return program;
}

namespace {

std::optional<GlShader> compileStage(GLenum stage, const std::string& source, std::string& error) {
    GlShader shader(glCreateShader(stage));
    const GLchar* text = source.c_str();
    GLint length = static_cast<GLint>(source.size());
    glShaderSource(shader.get(), 1, &text, &length);
    glCompileShader(shader.get());
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader.get(), GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        error = shaderLog(shader.get());
        return std::nullopt;
    }
    return shader;
}

std::string shaderLog(GLuint shader) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::vector<GLchar> log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
    return log.data();
}

std::string programLog(GLuint program) {
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::vector<GLchar> log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    glGetProgramInfoLog(program, static_cast<GLsizei>(log.size()), nullptr, log.data());
    return log.data();
}

}  // namespace
}  // namespace engine
