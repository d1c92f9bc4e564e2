#include "page_renderer.h"

#include <emscripten/emscripten.h>

#include "cpu_formats.h"

namespace {

// From here on, the browser's reason for refusing a WebGL context (its
// webglcontextcreationerror, such as "WebGL2 blocklisted") is kept in
// panelPage.webglRefusal. The event does not bubble, so it is caught on
// its way down to whichever canvas the probe makes.
EM_JS(void, jsWatchWebGlRefusal, (), {
    window.addEventListener('webglcontextcreationerror', (event) => {
        panelPage.webglRefusal = event.statusMessage || "";
    }, true);
});

// The reason kept, cut to size bytes with its terminator.
EM_JS(void, jsWebGlRefusal, (char* text, int size), { stringToUTF8(panelPage.webglRefusal || "", text, size); });

std::string webGlRefusal()
{
    char text[256] = {};
    jsWebGlRefusal(text, sizeof text);
    return text;
}

// Whether the page loaded its module's build with WebAssembly SIMD (page.js).
EM_JS(int, jsWasmSimd, (), { return panelPage.wasmSimd ? 1 : 0; });

EM_JS(void, jsShowRendering, (const char* text), {
    let note = document.getElementById('renderer');
    if (!note) {
        note = document.createElement('span');
        note.id = 'renderer';
        const frame = document.getElementById('frame');
        frame.parentNode.insertBefore(note, frame);
    }
    note.textContent = UTF8ToString(text);
});

}  // namespace

bool pageRendererNamed(const std::string& name, PageRenderer* renderer)
{
    if (name == "auto")
        *renderer = PageRenderer::Auto;
    else if (name == "webgl")
        *renderer = PageRenderer::WebGl;
    else if (name == "cpu")
        *renderer = PageRenderer::Cpu;
    else
        return false;
    return true;
}

bool choosePageRendering(PageRenderer asked, DisplayRenderer& renderer, WebGlProbe& probe,
                         PageRendering* chosen, std::string* error)
{
    if (asked != PageRenderer::Cpu) {
        jsWatchWebGlRefusal();
        if (renderer.Init(probe)) {
            renderer.UseBackend(kWebGlBackend, webGlProcAddress);
            chosen->cpu = false;
            chosen->why = asked == PageRenderer::WebGl ? "Отрисовка: WebGL 2 (задано адресом: renderer=webgl)"
                                                       : "Отрисовка: WebGL 2";
            return true;
        }
        const std::string refusal = webGlRefusal();
        if (asked == PageRenderer::WebGl) {
            *error = "WebGL 2 is not available in this browser" + (refusal.empty() ? "" : ": " + refusal) + ".";
            return false;
        }
        chosen->why = "Отрисовка: процессор, так как WebGL 2 недоступен" + (refusal.empty() ? "" : ": " + refusal);
    } else {
        chosen->why = "Отрисовка: процессор (задано адресом: renderer=cpu)";
    }
    // The page's build has no threads: the backend draws on the page's own
    // (its default count there is 1).
    CpuFormatProbe cpuProbe;
    if (!renderer.Init(cpuProbe)) {
        *error = "The drawing library has no CPU backend to draw with.";
        return false;
    }
    renderer.UseCpuBackend();
    chosen->cpu = true;
    chosen->why += jsWasmSimd() ? "; WebAssembly SIMD" : "; WebAssembly без SIMD (его нет в браузере)";
    return true;
}

void pageShowRendering(const PageRendering& chosen) { jsShowRendering(chosen.why.c_str()); }
