#include "layout.h"

PanelLayout g_panels[kPanelCount] = {};
int32_t g_panelsLaidOutFrame = -1;

namespace {

struct PanelPlaces {
    PanelLayout home;
    PanelLayout focus;
    PanelLayout parked;
};

const PanelPlaces kPlaces[kPanelCount] = {
    {{383, 768, 1.0f}, {383, 500, 1.0f}, {153, 125, 0.4f}},
    {{383, 390, 1.0f}, {383, 500, 1.0f}, {613, 125, 0.4f}},
    {{383, 125, 1.0f}, {383, 400, 1.0f}, {383, 125, 0.3f}},
};

void move(PanelLayout& panel, const PanelLayout& from, const PanelLayout& to)
{
    panel.x = stepToward(panel.x, from.x, to.x);
    panel.y = stepToward(panel.y, from.y, to.y);
    panel.scale = stepToward(panel.scale, from.scale, to.scale);
}

}  // namespace

float stepToward(float value, float origin, float target)
{
    if (value == target)
        return value;
    float next = static_cast<float>(static_cast<double>(value) +
                                    (static_cast<double>(target) - origin) / kTransitionFrames);
    if (target > origin && next > target)
        next = target;
    if (target < origin && next < target)
        next = target;
    if (target == origin)
        next = value;
    return next;
}

void advancePanelLayout(int firstFrame, int phase)
{
    if (firstFrame) {
        for (int i = 0; i < kPanelCount; ++i)
            g_panels[i] = {kPlaces[i].home.x, kPlaces[i].home.y, 1.0f};
    }
    switch (phase) {
    case 0:
        for (int i = 0; i < kPanelCount; ++i)
            move(g_panels[i], kPlaces[i].home, kPlaces[i].parked);
        break;
    case 1: case 3: case 5:
        move(g_panels[(phase - 1) / 2], kPlaces[(phase - 1) / 2].parked, kPlaces[(phase - 1) / 2].focus);
        break;
    case 2: case 4: case 6:
        move(g_panels[(phase - 2) / 2], kPlaces[(phase - 2) / 2].focus, kPlaces[(phase - 2) / 2].parked);
        break;
    case 7:
        for (int i = 0; i < kPanelCount; ++i)
            move(g_panels[i], kPlaces[i].parked, kPlaces[i].home);
        break;
    default:
        break;
    }
}
