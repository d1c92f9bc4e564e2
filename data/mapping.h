// The mapping file: which field of a datagram feeds which input of the
// display, in which wire format. Plain text, one statement a line:
//
//   # comment
//   format generic            generic | xplane | json | mqtt
//   separator ,               generic only: one character, or tab, space
//                             (a comma unless given)
//   fields N                  generic only: every line holds N fields
//   FIELD INPUT [scale S] [offset O]
//   output FIELD OUTPUT [scale S] [offset O]
//   output command COMMAND OUTPUT      xplane only
//
// FIELD is a 1-based position (generic), GROUP.SLOT (xplane), a JSON name
// or a topic level under the MQTT prefix (mqtt); the input receives
// value * S + O (scale 1, offset 0 by default). A field and an input are
// each named once; scale 0 is refused. A UTF-8 byte-order mark at the
// start is skipped.
//
// Output lines say where the display's outputs go (--send): the field
// receives the output's value * S + O. An output FIELD is a position up to
// kMaxOutputPosition (generic: every line carries all mapped positions, 0
// where none is mapped), a dataref path (xplane: a DREF datagram sets it)
// or a JSON name. An output command runs the X-Plane command COMMAND (a
// CMND datagram) each time the display sends OUTPUT, whatever its value.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "wire_formats.h"

struct FieldMapping {
    std::string field;
    std::string input;
    double scale = 1.0;
    double offset = 0.0;
    int line = 0;  // in the mapping file, for messages
};

struct OutputMapping {
    std::string field;  // empty for a command
    std::string command;
    std::string output;
    double scale = 1.0;
    double offset = 0.0;
    int line = 0;
};

struct Mapping {
    WireFormat format = WireFormat::Generic;
    char separator = ',';
    int fieldCount = 0;  // generic: the fields every line holds; 0 learns it from the stream
    std::vector<FieldMapping> fields;
    std::vector<OutputMapping> outputs;
};

// The highest generic position an output line may name.
constexpr int kMaxOutputPosition = 1000;
// X-Plane's DREF datagram holds a dataref path of up to this many bytes,
// its terminator included.
constexpr size_t kXPlanePathBytes = 500;

// A mapping file holds no more statements than this.
constexpr size_t kMaxMappingLines = 10000;

// Parses the text of the mapping file called fileName; false with
// "FILE:LINE: cause" in *error, or "FILE: maps no field" when it has
// neither fields nor outputs.
bool parseMapping(std::string_view text, const std::string& fileName, Mapping* mapping, std::string* error);

// The display outputs a mapping's output lines carry, in their order; none
// when it has no output lines (every output then goes, named as it is).
std::vector<std::string> mappedOutputNames(const Mapping& mapping);

// Reads and parses the mapping file at path.
bool readMapping(const std::string& path, Mapping* mapping, std::string* error);

// Reads a whole (small) text file; false with "PATH: cause" in *error.
bool readTextFile(const std::string& path, std::string* text, std::string* error);

// The largest data file (mapping or recording) read, in bytes.
constexpr size_t kMaxDataFileSize = 64u << 20;

// The index of name in inputs, appended when it is not there yet: the
// decoders' table of the inputs a mapping feeds.
int inputIndex(std::vector<std::string>* inputs, const std::string& name);
