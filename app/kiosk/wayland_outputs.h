// The compositor's outputs (monitors, panels) as wl_output announces them,
// so that the kiosk can go full screen on the one a user names.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct wl_output;
struct wl_registry;

// What identifies an output to a person.
struct OutputName {
    std::string name;         // e.g. "HDMI-A-1" (wl_output 4); may be empty
    std::string description;  // e.g. "Dell Inc. U2415 (HDMI-A-1)"; may be empty
    std::string makeModel;    // "make model" from the geometry; may be empty
};

// The index of the output that wanted names: its name, its description or
// its make and model, exactly; -1 when none does.
int findOutputNamed(const std::vector<OutputName>& outputs, const std::string& wanted);

// The outputs for a message: "HDMI-A-1 (Dell U2415), DP-1".
std::string listOutputNames(const std::vector<OutputName>& outputs);

class WaylandOutputs {
public:
    WaylandOutputs() = default;
    ~WaylandOutputs();
    WaylandOutputs(const WaylandOutputs&) = delete;
    WaylandOutputs& operator=(const WaylandOutputs&) = delete;

    // Destroys the outputs; before the connection goes.
    void Release();
    // Binds the output global name of the registry (from the registry's
    // global event for wl_output).
    void Bind(wl_registry* registry, uint32_t name, uint32_t version);
    // The output wanted names (after a roundtrip has brought their names),
    // or null with the reason in *error.
    wl_output* Find(const std::string& wanted, std::string* error) const;
    // The pixels a logical unit the output has (wl_output.scale); 1 for an
    // output not known.
    int ScaleOf(wl_output* output) const;
    // Called once an output's changed scale is complete (wl_output.done),
    // so that a surface on it can follow.
    void OnScaleChange(std::function<void()> changed) { scaleChanged_ = std::move(changed); }

    // Protocol callbacks; public only for the listener table.
    void SetName(wl_output* output, const char* name);
    void SetDescription(wl_output* output, const char* description);
    void SetMakeModel(wl_output* output, const char* make, const char* model);
    void SetScale(wl_output* output, int scale);
    void Done();

private:
    OutputName* NameOf(wl_output* output);

    std::vector<wl_output*> outputs_;
    std::vector<OutputName> names_;
    std::vector<int> scales_;
    bool scaleMoved_ = false;  // since the last done
    std::function<void()> scaleChanged_;
};
