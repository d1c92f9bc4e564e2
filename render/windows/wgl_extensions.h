// The WGL extension test on the strings a driver hands out.
#pragma once

// Whether name is listed: false without the WGL query entry point; the WGL
// string is searched, or the GL string when the WGL one is empty; plain
// substring search.
bool wglExtensionListed(bool hasWglQuery, const char* wglExtensions, const char* glExtensions, const char* name);
