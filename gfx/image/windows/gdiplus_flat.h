// GDI+'s flat API, which image loading calls directly.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
