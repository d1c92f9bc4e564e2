// The three datagram formats the data sources read, as plain parsers over
// bytes: no sockets, no display. Each reports the fields it finds to a sink
// by their key text (a 1-based position, "group.slot", or a JSON name), and
// counts what it had to skip.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

enum class WireFormat { Generic, XPlane, Json };

// "generic", "xplane" or "json"; false for another name.
bool parseWireFormat(std::string_view name, WireFormat* format);
const char* wireFormatName(WireFormat format);

// Receives one field: its key and its value, finite or not (the caller
// refuses NaN and infinities, so that it can count them).
using FieldSink = std::function<void(std::string_view key, double value)>;

struct ParseCounts {
    long long units = 0;      // lines, records or objects read
    long long malformed = 0;  // of those, skipped whole
    long long wrongFieldCount = 0;  // generic lines skipped for holding another number of fields
    int lastWrongFieldCount = 0;    // how many fields the last of those held
};

// A generic line holds no more fields than this; a longer one is malformed.
constexpr int kMaxGenericFields = 256;

// FlightGear's generic protocol: lines of values separated by separator,
// the first value position 1. A line with a value that is not a number is
// skipped whole; empty lines are ignored. With fieldCount, a line of
// another number of fields is skipped whole too (counted malformed and
// wrongFieldCount): a protocol sends a fixed number, and a shorter or
// longer line means the fields are not where the mapping says. *fieldCount
// 0 is learnt from the first well-formed line.
void parseGenericLines(std::string_view bytes, char separator, const FieldSink& sink, ParseCounts* counts,
                       int* fieldCount = nullptr);

// X-Plane's "DATA" datagram: "DATA" and one byte, then records of a
// little-endian int32 group and eight little-endian float32 values, keyed
// "group.slot" with slots 1..8. X-Plane's unused-slot marker -999 is
// skipped. A datagram of another header or length is skipped whole.
constexpr size_t kXPlaneHeaderSize = 5;
constexpr size_t kXPlaneRecordSize = 36;
constexpr float kXPlaneUnused = -999.0f;
void parseXPlaneData(std::string_view bytes, const FieldSink& sink, ParseCounts* counts);

// JSON objects of names and numbers, one or more per datagram, separated by
// white space (one per line, for instance). An object that is not flat
// names and numbers is skipped whole, and the parse resumes at the next line.
void parseJsonObjects(std::string_view bytes, const FieldSink& sink, ParseCounts* counts);

// Any of the three.
void parseDatagram(WireFormat format, char separator, std::string_view bytes, const FieldSink& sink,
                   ParseCounts* counts, int* genericFieldCount = nullptr);

// The number at the whole of text, in the C locale's notation whatever the
// process locale; false for anything else (empty, trailing characters).
bool parseWireNumber(std::string_view text, double* value);
