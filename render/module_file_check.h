// Checks a module file holds what its headers declare before the system
// loader maps it: a mapping past the end of a truncated file faults inside
// the loader (SIGBUS) instead of failing. Platform-free: it reads the bytes
// only, so it runs (and is fuzzed) anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The bytes of the ELF header, the longest of both classes.
constexpr size_t kElfHeaderBytes = 64;

// How many leading bytes of a file elfLayoutProblem needs to see: the ELF
// header and its program header table, as head (the first headSize bytes of
// the file) declares them. Never less than kElfHeaderBytes.
uint64_t elfBytesNeeded(const unsigned char* head, size_t headSize);

// Why the ELF file of fileSize bytes whose first headSize bytes are head
// cannot be mapped: "truncated: ..." when its header, its program header
// table or one of its segments ends past the end of the file, or a header
// field no loader accepts. Empty when the layout is sound, and for a file
// that is no ELF file at all (the loader says why). head should hold
// elfBytesNeeded(head, headSize) bytes, or the whole file when shorter.
std::string elfLayoutProblem(const unsigned char* head, size_t headSize, uint64_t fileSize);
