// The page's data=mqtt://... : the address parsed as the native hosts parse
// it, the mapping fetched from the page's own server (a path relative to
// the page), the source and the destination attached to the display, and
// the data state shown on the page.
#pragma once

#include <string>

#include "data_feed.h"
#include "display_renderer.h"
#include "output_feed.h"
#include "page_mqtt_source.h"

class PageMqtt {
public:
    // Starts subscribing for display, drawn by renderer, as text asks;
    // false with the cause in *error. With a mapping the feed attaches once
    // the page has fetched it (MappingFetched).
    bool Start(DisplayRenderer* renderer, const GrDisplay& display, const std::string& text, std::string* error);
    // The mapping file's text, or (failed) why the page could not fetch it.
    void MappingFetched(const std::string& text, bool failed);
    void Receive(std::string_view topic, std::string_view payload);
    void SetState(PageMqttState state, const std::string& cause);

private:
    bool attach(Mapping mapping, std::string* error);
    void showStatus();

    DisplayRenderer* renderer_ = nullptr;
    const GrDisplay* display_ = nullptr;
    MqttAddress address_;
    DataFeed feed_;
    OutputFeed outputs_;
    PageMqttSource* source_ = nullptr;  // owned by feed_
    std::string shown_;
    long long fed_ = 0;  // values the feed had handed to the display by the last frame
};
