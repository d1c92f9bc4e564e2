// Checks a DLL holds what its headers declare before LoadLibrary maps it:
// the loader's own refusal of a cut-short file does not say so. Platform-
// free: it reads the bytes only, so it runs (and is fuzzed) anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The bytes of the MS-DOS header, whose last field locates the PE header.
constexpr size_t kPeDosHeaderBytes = 64;

// How many leading bytes of a file peLayoutProblem needs to see: up to the
// end of the section table, as head (the first headSize bytes of the file)
// declares it. Never less than kPeDosHeaderBytes.
uint64_t peBytesNeeded(const unsigned char* head, size_t headSize);

// Why the PE file of fileSize bytes whose first headSize bytes are head
// cannot be loaded: "truncated: ..." when its headers, its section table or
// the raw data of one of its sections end past the end of the file. Empty
// when the layout is sound, and for a file that is no PE file at all (the
// loader says why). head should hold peBytesNeeded(head, headSize) bytes,
// or the whole file when shorter.
std::string peLayoutProblem(const unsigned char* head, size_t headSize, uint64_t fileSize);
