// Mapping files: a mapping accepted has fields of its format, finite
// conversions and no field twice; a refusal names the file.
#include <cmath>
#include <set>

#include "fuzz_input.h"
#include "mapping.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Mapping mapping;
    std::string error;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!parseMapping(text, "fuzz.map", &mapping, &error)) {
        FUZZ_CHECK(error.rfind("fuzz.map", 0) == 0);
        return 0;
    }
    FUZZ_CHECK(!mapping.fields.empty() || !mapping.outputs.empty());
    std::set<std::string> fields;
    for (const FieldMapping& field : mapping.fields) {
        FUZZ_CHECK(std::isfinite(field.scale) && std::isfinite(field.offset));
        FUZZ_CHECK(!field.input.empty() && fields.insert(field.field).second);
    }
    return 0;
}
