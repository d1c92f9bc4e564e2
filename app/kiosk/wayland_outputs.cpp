#include "wayland_outputs.h"

#include <wayland-client.h>

namespace {

// Version 4 names and describes an output; older ones give make and model.
constexpr uint32_t kOutputVersion = 4;

WaylandOutputs* self(void* data) { return static_cast<WaylandOutputs*>(data); }

void outputGeometry(void* data, wl_output* output, int32_t, int32_t, int32_t, int32_t, int32_t, const char* make,
                    const char* model, int32_t)
{
    self(data)->SetMakeModel(output, make, model);
}

void outputMode(void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) {}
void outputDone(void* data, wl_output*) { self(data)->Done(); }
void outputScale(void* data, wl_output* output, int32_t scale) { self(data)->SetScale(output, scale); }
void outputName(void* data, wl_output* output, const char* name) { self(data)->SetName(output, name); }

void outputDescription(void* data, wl_output* output, const char* description)
{
    self(data)->SetDescription(output, description);
}

const wl_output_listener kOutputListener = {outputGeometry, outputMode,        outputDone,
                                            outputScale,    outputName, outputDescription};

}  // namespace

int findOutputNamed(const std::vector<OutputName>& outputs, const std::string& wanted)
{
    for (size_t i = 0; i < outputs.size(); ++i)
        if (!wanted.empty() && (outputs[i].name == wanted || outputs[i].description == wanted ||
                                outputs[i].makeModel == wanted))
            return static_cast<int>(i);
    return -1;
}

std::string listOutputNames(const std::vector<OutputName>& outputs)
{
    std::string list;
    for (const OutputName& output : outputs) {
        if (!list.empty())
            list += ", ";
        const std::string& first = !output.name.empty() ? output.name : output.makeModel;
        const std::string& detail = !output.description.empty() ? output.description : output.makeModel;
        list += first.empty() ? "(unnamed)" : first;
        if (!detail.empty() && detail != first)
            list += " (" + detail + ")";
    }
    return list.empty() ? "none" : list;
}

WaylandOutputs::~WaylandOutputs() { Release(); }

void WaylandOutputs::Release()
{
    for (wl_output* output : outputs_)
        wl_output_destroy(output);
    outputs_.clear();
    names_.clear();
    scales_.clear();
}

void WaylandOutputs::Bind(wl_registry* registry, uint32_t name, uint32_t version)
{
    auto* output = static_cast<wl_output*>(
        wl_registry_bind(registry, name, &wl_output_interface, version < kOutputVersion ? version : kOutputVersion));
    wl_output_add_listener(output, &kOutputListener, this);
    outputs_.push_back(output);
    names_.emplace_back();
    scales_.push_back(1);
}

wl_output* WaylandOutputs::Find(const std::string& wanted, std::string* error) const
{
    const int index = findOutputNamed(names_, wanted);
    if (index < 0) {
        *error = "the compositor has no output named '" + wanted + "'; it has: " + listOutputNames(names_);
        return nullptr;
    }
    return outputs_[static_cast<size_t>(index)];
}

int WaylandOutputs::ScaleOf(wl_output* output) const
{
    for (size_t i = 0; i < outputs_.size(); ++i)
        if (outputs_[i] == output)
            return scales_[i];
    return 1;
}

void WaylandOutputs::SetScale(wl_output* output, int scale)
{
    for (size_t i = 0; i < outputs_.size(); ++i)
        if (outputs_[i] == output) {
            const int known = scale > 0 ? scale : 1;
            scaleMoved_ = scaleMoved_ || known != scales_[i];
            scales_[i] = known;
        }
}

void WaylandOutputs::Done()
{
    if (!scaleMoved_)
        return;
    scaleMoved_ = false;
    if (scaleChanged_)
        scaleChanged_();
}

OutputName* WaylandOutputs::NameOf(wl_output* output)
{
    for (size_t i = 0; i < outputs_.size(); ++i)
        if (outputs_[i] == output)
            return &names_[i];
    return nullptr;
}

void WaylandOutputs::SetName(wl_output* output, const char* name)
{
    if (OutputName* entry = NameOf(output))
        entry->name = name ? name : "";
}

void WaylandOutputs::SetDescription(wl_output* output, const char* description)
{
    if (OutputName* entry = NameOf(output))
        entry->description = description ? description : "";
}

void WaylandOutputs::SetMakeModel(wl_output* output, const char* make, const char* model)
{
    if (OutputName* entry = NameOf(output))
        entry->makeModel = std::string(make ? make : "") + " " + (model ? model : "");
}
