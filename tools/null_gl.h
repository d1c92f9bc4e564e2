// A GL stand-in that drops every call and counts them, for timing the
// drawing library's own work. Queries answer as a fresh context would.
#pragma once

struct NullGlCount {
    long long calls;
    long long draws;
    long long vertices;
};

NullGlCount nullGlCount();
