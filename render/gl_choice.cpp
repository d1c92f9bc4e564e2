#include "gl_choice.h"

namespace {

struct GlChoice {
    const char* name;
    GlContextKind kind;
};

const GlChoice kChoices[] = {
    {"gl1", GlContextKind::Compatibility},
    {"es2", GlContextKind::Es2},
    {"es3", GlContextKind::Es3},
    {"core", GlContextKind::Core},
};

}  // namespace

bool glContextKindFor(const std::string& name, GlContextKind* kind)
{
    for (const GlChoice& choice : kChoices)
        if (name == choice.name) {
            *kind = choice.kind;
            return true;
        }
    return false;
}

bool isToolChoice(const std::string& name)
{
    GlContextKind kind;
    return name == kCpuChoice || glContextKindFor(name, &kind);
}
