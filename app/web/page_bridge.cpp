#include "page_bridge.h"

#include <emscripten/emscripten.h>

// The page's script defines window.panelPage before the module starts.
EM_JS(void, jsMakeCanvas, (int width, int height), { panelPage.makeCanvas(width, height); });
void pageMakeCanvas(int width, int height) { jsMakeCanvas(width, height); }

EM_JS(void, jsSetTitle, (const char* name), { panelPage.setTitle(UTF8ToString(name)); });
void pageSetTitle(const char* name) { jsSetTitle(name); }

EM_JS(void, jsAddGroup, (const char* label), { panelPage.addGroup(UTF8ToString(label)); });
void pageAddGroup(const char* label) { jsAddGroup(label); }

EM_JS(void, jsAddCommand, (int id, const char* label), { panelPage.addCommand(id, UTF8ToString(label)); });
void pageAddCommand(int id, const char* label) { jsAddCommand(id, label); }

EM_JS(void, jsSetCommandState, (int id, int enabled, int checked),
      { panelPage.setCommandState(id, enabled != 0, checked != 0); });
void pageSetCommandState(int id, bool enabled, bool checked) { jsSetCommandState(id, enabled, checked); }

EM_JS(void, jsShowError, (const char* caption, const char* text),
      { panelPage.showError(UTF8ToString(caption), UTF8ToString(text)); });
void pageShowError(const char* caption, const char* text) { jsShowError(caption, text); }

EM_JS(void, jsShowFrame, (int frame, int running), { panelPage.showFrame(frame, running != 0); });
void pageShowFrame(int frame, bool running) { jsShowFrame(frame, running); }

EM_JS(void, jsSetReady, (double openingMs), { panelPage.setReady(openingMs); });
void pageSetReady(double openingMs) { jsSetReady(openingMs); }
