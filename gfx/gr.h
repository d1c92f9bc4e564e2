// gr: the 2-D vector drawing library that generated display code calls.
//
// Every entry point runs on the one thread that owns the current OpenGL 1.1
// context; the library keeps a single global state and takes no locks.
// Coordinates are pixels with y growing upwards; integer arguments are
// converted to float before any arithmetic. Angles are degrees,
// counter-clockwise positive.
#pragma once

#include <cstdint>

// ---------------------------------------------------------------------------
// Display tables
// ---------------------------------------------------------------------------

struct GrPoint {
    int32_t x;
    int32_t y;
};

struct GrColor {
    uint8_t r, g, b;
};

// A dash pattern: bit i of mask set draws the i-th sixteenth of one repeat
// (bit 0 first along the line); each bit spans repeat + 1 units.
struct LinePattern {
    uint16_t mask;
    int32_t repeat;
};

// An image the display shows, read from a file when the library starts.
struct ImageSpec {
    const char16_t* fileName;  // relative names are resolved against the executable's folder
    int32_t colorKeyEnabled;   // non-zero: pixels of colorKey become transparent
    uint32_t colorKey;         // 0x00BBGGRR
};

// A font the display draws text in, requested from the system by face name.
struct FontSpec {
    const char* faceName;
    int32_t pointSize;
    int32_t bold;
    int32_t italic;
    const char16_t* fileName;  // the face's file, carried as data and never opened
};

// The constant tables a generated display ships with. The setters index
// them; an index outside a table is rejected and counted (grDiagnostics).
struct GrTables {
    const GrColor* colors;
    int colorCount;
    const GrColor* borderColors;
    int borderColorCount;
    const float* lineWidths;
    int lineWidthCount;
    const float* borderWidths;
    int borderWidthCount;
    const LinePattern* patterns;  // empty when patternCount is 0 or patterns[0].repeat is -1
    int patternCount;
    const ImageSpec* images;  // empty when imageCount is 0 or images[0].fileName is null
    int imageCount;
    const FontSpec* fonts;    // empty when fontCount is 0 or fonts[0].faceName is null
    int fontCount;
};

enum {
    GR_MAX_PATTERNS = 16,
    GR_MAX_MATRIX_DEPTH = 100,
    GR_MAX_CLIP_DEPTH = 100,
    GR_MAX_PATTERN_REPEAT = 15,
    GR_MAX_IMAGES = 256,
    GR_MAX_FONTS = 64,
};

// Selects the tables the setters index. Call before grInit; the tables must
// outlive the library's use of them. Returns false (and keeps the previous
// tables) for a null pointer, a negative count, or more than GR_MAX_PATTERNS
// patterns, GR_MAX_IMAGES images or GR_MAX_FONTS fonts.
bool grUseTables(const GrTables* tables);

// ---------------------------------------------------------------------------
// Life cycle (called by the renderer)
// ---------------------------------------------------------------------------

enum {
    GR_INIT_OK = 0,
    GR_INIT_IMAGES_FAILED = 1,
    GR_INIT_FONTS_FAILED = 2,
    GR_INIT_BACKEND_FAILED = 3,  // the context cannot serve the selected backend (grBackendError says why)
};

// Largest factor scratch buffers over-allocate by.
constexpr float GR_MAX_SCRATCH_GROWTH = 8.0f;

// Starts the library in the current GL context. scratchGrowth is the factor
// by which scratch buffers over-allocate when they grow; outside
// 1..GR_MAX_SCRATCH_GROWTH (or NaN) it is clamped and counted in
// grDiagnostics().rejectedArguments. Returns one of GR_INIT_*; grShutdown
// must follow in every case.
int grInit(float scratchGrowth);

// Why the last image of the image table failed to load, naming its file;
// empty when grInit loaded every image.
const char* grImageError();

// Releases textures and scratch memory; the GL context must still be current.
// Safe to call more than once.
void grShutdown();

// Resets GL and library state to the frame baseline; call after the colour
// and stencil buffers are cleared.
void grBeginFrame();

// Ends a frame; call before swapping buffers. In batched mode this is where
// the last collected draws reach the GL.
void grEndFrame();

// Batched submission, off by default. While on, consecutive draws that need
// the same GL state are collected and sent as one triangle-list draw with a
// colour per vertex; the pixels are exactly those of one draw per part. The
// GL sees a frame's drawing complete at grEndFrame (not before), so read the
// framebuffer only after it. Switching draws what is collected first. The
// setting survives grInit and grShutdown.
void grSetBatching(bool on);
bool grBatching();

// ---------------------------------------------------------------------------
// Transforms (modelview matrix)
// ---------------------------------------------------------------------------

// Saves the modelview matrix; a matching grPopMatrix() must be used. The tag
// only labels the pair. Beyond GR_MAX_MATRIX_DEPTH the push is ignored,
// and so is its matching pop.
void grPushMatrix(int tag);
// Restores the matrix of the matching grPushMatrix(). Ignored on an empty stack.
void grPopMatrix(int tag);
void grTranslate(int dx, int dy);
void grRotate(float degrees);
void grScale(float sx, float sy);

// ---------------------------------------------------------------------------
// Drawing state
// ---------------------------------------------------------------------------

void grSetColor(int index);
void grSetBorderColor(int index);
void grSetLineWidth(int index);
void grSetBorderWidth(int index);
// Selects a dash pattern of the pattern table and binds its texture.
// Mask 0xFFFF draws solid; mask 0 makes outlines invisible.
void grSetLinePattern(int index);
void grSetFont(int index);
void grSetImage(int index);
void grSetTextAlign(int horizontal, int vertical);

enum {
    GR_MODE_ANTIALIAS = 0,
    GR_MODE_FILL = 1,
    GR_MODE_BORDER = 2,
};
// Sets one of the GR_MODE_* switches (0 off, non-zero on); other values of
// which are ignored.
void grSetMode(int which, int value);

// ---------------------------------------------------------------------------
// Clipping
// ---------------------------------------------------------------------------

// Saves the clip state; a matching grPopClip() must be used. Beyond
// GR_MAX_CLIP_DEPTH the push is ignored, and so is its matching pop.
void grPushClip(int tag);
// Restores and re-applies the saved clip state. Ignored on an empty stack.
void grPopClip(int tag);
// Stencil and switching operations 0..7; other values do nothing.
void grClipOp(int op);
// Keeps one side of a vertical (side 0, 1) or horizontal (side 2, 3) line;
// other sides are refused.
void grClipHalfPlane(int side, int value);
// Keeps x1 + 0.5 <= x <= x2 - 0.5 and y1 + 0.5 <= y <= y2 - 0.5; the
// corners may come in either order.
void grClipRect(int x1, int y1, int x2, int y2);

// ---------------------------------------------------------------------------
// Primitives
// ---------------------------------------------------------------------------

void grPoint(int x, int y);
void grLine(int x1, int y1, int x2, int y2);
// Draws count - 1 segments; the dash pattern runs on across the corners.
void grPolyline(const GrPoint* points, int count);
void grArc(int cx, int cy, int r, float startDeg, float sweepDeg);
// Bézier curve of count (2..8) control points sampled at segments (>= 2).
void grBezier(const GrPoint* points, int count, int segments);
void grCircle(int cx, int cy, int r);
void grSector(int cx, int cy, int r, float startDeg, float sweepDeg);
void grRing(int cx, int cy, int outerR, int innerR);
void grRingSector(int cx, int cy, int outerR, int innerR, float startDeg, float sweepDeg);
void grRect(int x1, int y1, int x2, int y2);
// Filled convex polygon, drawn as a fan from the first point.
void grPolygon(const GrPoint* points, int count);
void grTriangleStrip(const GrPoint* points, int count);
void grEllipse(int cx, int cy, int rx, int ry);
void grText(int x, int y, float angleDeg, const char16_t* text);
void grImage(int x, int y);

// ---------------------------------------------------------------------------
// Diagnostics
// ---------------------------------------------------------------------------

// Calls the library refused instead of reading or writing out of bounds.
struct GrDiagnostics {
    int rejectedIndices;   // table index outside its table
    int matrixOverflows;   // push beyond GR_MAX_MATRIX_DEPTH
    int matrixUnderflows;  // pop of an empty matrix stack
    int clipOverflows;
    int clipUnderflows;
    int rejectedShapes;    // degenerate input a primitive refused to draw
    int glErrors;          // GL errors seen at checked points (debug builds)
    int rejectedArguments; // a value outside its range, replaced by a safe one (grInit's growth factor)
    int rejectedImages;    // image files missing, or refused: not PNG, BMP, JPEG or GIF, too large, broken
};

GrDiagnostics grDiagnostics();
void grResetDiagnostics();

// Running totals of the library's work, for benchmarks: compare two readings.
struct GrCounters {
    long long draws;           // glDrawArrays calls
    long long vertices;        // vertices those draws carried
    long long glyphsBuilt;     // glyphs rasterised into an atlas
    long long textureUploads;  // glTexImage and glTexSubImage calls
};

GrCounters grCounters();

// ---------------------------------------------------------------------------
// Runtime helpers: numbers
// ---------------------------------------------------------------------------

float grCeil(float x);
float grFloor(float x);
// Nearest integer, halves away from zero.
float grRound(float x);
int32_t grRoundToInt(float x);
float grTrunc(float x);
float grPow(float x, float y);
// x with the sign of s; a zero s counts as positive.
float grCopySign(float x, float s);
float grFabs(float x);
int32_t grAbs(int32_t n);
// Seeds the generator behind grRand (the renderer seeds it with the time).
void grSeedRandom(uint32_t seed);
// Next value 0..32767 of the linear congruential generator.
int grRand();

float grLn(float x);
float grLog2(float x);
float grLog10(float x);
float grSinDeg(float x);
float grSin(float x);
float grCosDeg(float x);
float grCos(float x);
float grTanDeg(float x);
float grTan(float x);
float grSinhDeg(float x);
float grSinh(float x);
float grCoshDeg(float x);
float grCosh(float x);
float grTanhDeg(float x);
float grTanh(float x);
float grAsinDeg(float x);
float grAsin(float x);
float grAcosDeg(float x);
float grAcos(float x);
float grAtanDeg(float x);
float grAtan(float x);
float grSqrt(float x);
float grCbrt(float x);
float grExp(float x);

// ---------------------------------------------------------------------------
// Runtime helpers: date and time
// ---------------------------------------------------------------------------

struct GrDateTime {
    int32_t second;   // 0..59 (a leap second reads 59)
    int32_t minute;   // 0..59
    int32_t hour;     // 0..23
    int32_t day;      // 1..31
    int32_t month;    // 1..12
    int32_t year;     // full year
    int32_t weekday;  // 1..7, Sunday = 1
    int32_t yearday;  // 1..366
    int32_t dst;      // > 0 in effect, 0 not, < 0 unknown
};

void grUtcTime(GrDateTime* out);
void grLocalTime(GrDateTime* out);

// ---------------------------------------------------------------------------
// Runtime helpers: parsing and formatting (the decimal separator is always
// a point, whatever the locale)
// ---------------------------------------------------------------------------

int32_t grStrToInt(const char16_t* s);
uint32_t grStrToUInt(const char16_t* s);
float grStrToFloat(const char16_t* s);

// printf-style formatting into buf, writing at most size - 1 code units and
// always terminating (when size > 0). %s takes a const char16_t*.
char16_t* grFormat(char16_t* buf, int size, const char16_t* fmt, ...);

// ---------------------------------------------------------------------------
// Runtime helpers: UTF-16 strings (NUL-terminated; positions in code units;
// a position beyond the end of src counts as its length)
// ---------------------------------------------------------------------------

int grStrLen(const char16_t* s);
int grStrCmp(const char16_t* a, const char16_t* b);
char16_t* grStrCopyFrom(char16_t* dst, const char16_t* src, int pos);
char16_t* grStrMid(char16_t* dst, const char16_t* src, int pos, int count);
char16_t* grStrLeft(char16_t* dst, const char16_t* src, int count);
char16_t* grStrInsert(char16_t* dst, const char16_t* ins, const char16_t* src, int pos);
char16_t* grStrDelete(char16_t* dst, const char16_t* src, int pos, int count);
char16_t* grStrLower(char16_t* dst, const char16_t* src);
char16_t* grStrUpper(char16_t* dst, const char16_t* src);
int grStrFind(const char16_t* s, const char16_t* sub);
int grStrFindNotOf(const char16_t* s, const char16_t* set);
int grStrFindOf(const char16_t* s, const char16_t* set);
