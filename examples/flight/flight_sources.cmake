# The flight display's sources, named once: for its own build and for the
# page tests' copy of it that lacks its images.
set(FLIGHT_DISPLAY_SOURCES flight_tables.cpp flight_model.cpp flight_display.cpp flight_attitude.cpp
    flight_compass.cpp flight_fuel.cpp flight_flags.cpp flight_softkeys.cpp flight_events.cpp)
