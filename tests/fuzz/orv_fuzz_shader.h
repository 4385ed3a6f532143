// The run that both shader fuzz targets share: an input becomes a vertex and
// a pixel source handed to a GPU shader node through the target's loader,
// among uniforms and attribute locations of arbitrary names; the program is
// bound and unbound, and the node is deleted. After each load the node must
// hold exactly the source the loader promised, ending in one zero byte, and
// at the end every tracked block must be back. The renderer is the recording
// one: a driver's own compiler faults are not the engine's to find.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class OrvGpuShader;

// Hands source to the node as its vertex (or pixel) shader. Returns the text
// the node must hold afterwards, or nothing when it must keep what it had.
typedef std::optional<std::string> (*OrvFuzzShaderLoader)(OrvGpuShader* shader, bool vertex,
                                                          const std::string& source);

void orvFuzzShader(const uint8_t* data, size_t size, OrvFuzzShaderLoader load);
