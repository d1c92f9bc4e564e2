// Datagrams in the three wire formats, from input values: what panel-feed
// sends, the reverse of a mapping.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "mapping.h"

// One datagram carrying values (input name -> value, as the display takes
// it) through mapping: each value becomes (value - offset) / scale in its
// field. Generic: one line, positions without a value 0; X-Plane: a record
// per mapped group, unused slots -999; JSON: one object and a line break.
std::string encodeDatagram(const Mapping& mapping, const std::map<std::string, double>& values);

// A JSON mapping that names each field as its input.
Mapping identityJsonMapping(const std::map<std::string, double>& values);

// The MQTT messages (topic, payload) carrying values through mapping of
// format mqtt: one a mapped field with a value, on PREFIX/FIELD, its
// payload the number as (value - offset) / scale.
std::vector<std::pair<std::string, std::string>> encodeMqttMessages(const std::string& prefix, const Mapping& mapping,
                                                                    const std::map<std::string, double>& values);

// The datagrams that carry one frame's outputs to a simulator through the
// mapping's output lines: sent holds the outputs the display sent this frame,
// latest the last value of every output (for the generic line, which always
// carries every mapped position). Generic: one line when any mapped output
// was sent; X-Plane: a DREF datagram (header, float, 500-byte path) per
// mapped field and a CMND datagram per command of each sent output; JSON:
// one object of the sent outputs' fields. None when nothing mapped was sent.
std::vector<std::string> encodeOutputDatagrams(const Mapping& mapping, const std::map<std::string, double>& sent,
                                               const std::map<std::string, double>& latest);

// The MQTT messages (topic, payload) that carry one frame's sent outputs:
// through a mapping's output lines, PREFIX/out/FIELD with the value * S + O
// of each mapped output sent; without output lines, PREFIX/out/<name> with
// the value of every output sent.
std::vector<std::pair<std::string, std::string>> encodeOutputMessages(const std::string& prefix, const Mapping& mapping,
                                                                      const std::map<std::string, double>& sent);
