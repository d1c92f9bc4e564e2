// --renderer auto: the GL's own name tells a software rasteriser from a
// hardware GL, on the strings real drivers report.
#include <gtest/gtest.h>

#include <string>

#include "gl_renderer_kind.h"
#include "renderer_option.h"

namespace {

TEST(RendererKind, TellsSoftwareRasterisersByTheirNames)
{
    for (const char* software : {
             "llvmpipe (LLVM 15.0.6, 256 bits)",
             "llvmpipe (LLVM 11.0.1, 128 bits)",
             "softpipe",
             "Software Rasterizer",
             "Google SwiftShader",
             "ANGLE (Google, Vulkan 1.3.0 (SwiftShader Device (Subzero) (0x0000C0DE)), SwiftShader driver)",
             "GDI Generic",
             "D3D12 (Microsoft Basic Render Driver)",
             "Apple Software Renderer",
         }) {
        EXPECT_TRUE(isSoftwareRasteriser(software)) << software;
    }
    for (const char* hardware : {
             "Mesa Intel(R) UHD Graphics 620 (KBL GT2)",
             "NVIDIA GeForce RTX 3080/PCIe/SSE2",
             "AMD Radeon RX 6800 XT (navi21, LLVM 15.0.7, DRM 3.49, 6.1.0-13-amd64)",
             "ANGLE (NVIDIA, NVIDIA GeForce GTX 1060 6GB Direct3D11 vs_5_0 ps_5_0, D3D11)",
             "Apple M1",
             "virgl (Intel(R) UHD Graphics 630)",
             "",
         })
        EXPECT_FALSE(isSoftwareRasteriser(hardware)) << hardware;
}

TEST(RendererChoice, AutoTakesTheProcessorWhereTheGlIsSoftwareOrMissing)
{
    const RendererChoice soft = chooseRenderer(ProgramRenderer::Auto, true, "llvmpipe (LLVM 15.0.6, 256 bits)", "");
    EXPECT_EQ(soft.renderer, ProgramRenderer::Cpu);
    EXPECT_NE(soft.why.find("llvmpipe"), std::string::npos) << soft.why;
    const RendererChoice missing = chooseRenderer(ProgramRenderer::Auto, false, "", "the X display has no GLX");
    EXPECT_EQ(missing.renderer, ProgramRenderer::Cpu);
    EXPECT_NE(missing.why.find("no GLX"), std::string::npos) << missing.why;
    const RendererChoice hard = chooseRenderer(ProgramRenderer::Auto, true, "NVIDIA GeForce RTX 3080/PCIe/SSE2", "");
    EXPECT_EQ(hard.renderer, ProgramRenderer::Gl);
    EXPECT_NE(hard.why.find("NVIDIA"), std::string::npos) << hard.why;
    // What the user asked for stands, whatever the GL.
    EXPECT_EQ(chooseRenderer(ProgramRenderer::Gl, true, "llvmpipe", "").renderer, ProgramRenderer::Gl);
    EXPECT_EQ(chooseRenderer(ProgramRenderer::Cpu, true, "NVIDIA", "").renderer, ProgramRenderer::Cpu);
}

}  // namespace
