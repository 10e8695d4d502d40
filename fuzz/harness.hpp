#pragma once
// The fuzz harness: each entry feeds one reader of tesmo (or the command line and its prompts)
// with arbitrary bytes, in the current directory. Bad input must give the program's own
// message and code: a crash, a sanitizer report, or a file left open (the open-file table is
// shared by the whole run) is a finding, and the entry aborts.
#include <cstddef>
#include <cstdint>

namespace tesmo::fuzzing {

/// The bytes as a geometry file, meshed by the whole generation (counting and storing reads,
/// the mesh reader when the storing read fails, then every zone).
void geometryFile(const uint8_t* data, std::size_t size);

/// The bytes as a mesh file: the counting read, then the storing read into tables of the
/// counted sizes (one entry short of them for some inputs).
void meshFile(const uint8_t* data, std::size_t size);

/// The bytes as a nodal-values file: the counting read, then the storing read.
void nodalValuesFile(const uint8_t* data, std::size_t size);

/// The bytes as the mesh-size file of a small square, meshed by the whole generation.
void sizeFile(const uint8_t* data, std::size_t size);

/// The first line of the bytes as the command-line words (separated by tabs), the rest as the
/// answers to the prompts; the run goes through the mode word, the banner, the parameters and
/// the output checks, on work arrays too small for any generation to write a file.
void commandLine(const uint8_t* data, std::size_t size);

} // namespace tesmo::fuzzing
