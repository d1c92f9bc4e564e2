// What the host asks of its page (page/page.js): the canvas, the controls,
// the title and the messages. All texts are UTF-8.
#pragma once

// Replaces the canvas with a fresh element of width x height pixels: a
// canvas keeps its first context for life, so a new context needs one.
void pageMakeCanvas(int width, int height);

// The display's name as the page's title and heading.
void pageSetTitle(const char* name);

// A group of controls headed by label (empty: none), and a command in the
// last group, sent back to webCommand(id) when chosen.
void pageAddGroup(const char* label);
void pageAddCommand(int id, const char* label);
void pageSetCommandState(int id, bool enabled, bool checked);

// Shows a failure on the page, in place of the display.
void pageShowError(const char* caption, const char* text);

// The frame the canvas shows now, counted from 1, and whether it runs.
void pageShowFrame(int frame, bool running);
// The page has drawn the frames its address asked for, in openingMs.
void pageSetReady(double openingMs);
