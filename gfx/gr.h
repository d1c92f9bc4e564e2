// gr: the 2-D vector drawing library that generated display code calls.
//
// Every entry point runs on the one thread that owns the current GL context
// (OpenGL 1.1, or OpenGL ES 2/3 or a 3.3 core profile through the shader
// backend; see grSelectBackend in gr_display.h); the library keeps a single
// global state and takes no locks.
// Coordinates are pixels with y growing upwards; integer arguments are
// converted to float before any arithmetic. Angles are degrees,
// counter-clockwise positive; a negative sweep turns clockwise.
//
// Colours and widths: the body of every shape (a line, an outline, a fill,
// a glyph) is drawn in the colour of grSetColor. An outline is a line of the
// width of grSetLineWidth. With GR_MODE_BORDER on, a shape also gets a
// border in the colour of grSetBorderColor: around a line or an outline a
// band of the width of grSetBorderWidth on each side, around a fill a band
// of that width just outside its edge, behind text a plate (grText).
#pragma once

#include <stdint.h>

// C has bool and char16_t from these headers; C++ has them built in.
#ifndef __cplusplus
#include <stdbool.h>
#include <uchar.h>
#endif

// The same names without the struct keyword in C as in C++.
typedef struct GrPoint GrPoint;
typedef struct GrColor GrColor;
typedef struct LinePattern LinePattern;
typedef struct ImageSpec ImageSpec;
typedef struct FontSpec FontSpec;
typedef struct GrTables GrTables;
typedef struct GrDiagnostics GrDiagnostics;
typedef struct GrCounters GrCounters;
typedef struct GrDateTime GrDateTime;

// C linkage, so that a display in C, or one built by another compiler,
// links against the library.
#ifdef __cplusplus
extern "C" {
#endif

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
// (bit 0 first along the line); each bit spans repeat + 1 units, repeat
// 0..GR_MAX_PATTERN_REPEAT. Mask 0xFFFF draws solid, 0 nothing.
struct LinePattern {
    uint16_t mask;
    int32_t repeat;
};

// An image the display shows, read from a file when the library starts
// (grInit). PNG, BMP, JPEG or GIF (the first frame). A file that is missing
// or cannot be decoded makes grInit fail, and the display does not start.
struct ImageSpec {
    // A relative name is resolved against the folder of the display's module
    // (the executable's folder for a display linked into the program);
    // '/' or '\\' separate folders.
    const char16_t* fileName;
    int32_t colorKeyEnabled;   // non-zero: pixels of colorKey become transparent
    uint32_t colorKey;         // 0x00BBGGRR
};

// A font the display draws text in, requested from the system by face name
// at grInit, at 96 dots per inch on Linux and the screen's on Windows. A
// face that is not installed is replaced: on Linux by the closest installed
// face (fontconfig) that covers printable ASCII, the degree sign and the
// Russian alphabet, and a character that face lacks is drawn from another
// face that has it (up to 8 such faces a font); on Windows by GDI's font
// mapper. grInit fails only when no face at all can be found.
struct FontSpec {
    const char* faceName;
    int32_t pointSize;  // > 0
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
// patterns, GR_MAX_IMAGES images or GR_MAX_FONTS fonts. Accepted tables
// reset every selection to where a process starts, so nothing of an earlier
// display carries over: no colour, border colour or pattern selected (nothing
// is drawn until grSetColor), widths 0, font 0, image 0, alignment (0, 0),
// fill and border off; every frame starts with antialiasing off.
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
#define GR_MAX_SCRATCH_GROWTH 8.0f

// Starts the library in the current GL context: loads every image of the
// image table (GR_INIT_IMAGES_FAILED at the first that fails, see
// grImageError) and creates every font of the font table
// (GR_INIT_FONTS_FAILED). The runtime does not start a display on either
// failure. scratchGrowth is the factor by which scratch buffers
// over-allocate when they grow; outside 1..GR_MAX_SCRATCH_GROWTH (or NaN)
// it is clamped and counted in grDiagnostics().rejectedArguments. Returns
// one of GR_INIT_*; grShutdown must follow in every case.
int grInit(float scratchGrowth);

// Why the last image of the image table failed to load, naming its file;
// empty when grInit loaded every image.
const char* grImageError(void);

// Why the font table failed to load, naming the entry (index, face, size,
// style) and the cause; empty when grInit created every font.
const char* grFontError(void);

// Releases textures and scratch memory; the GL context must still be current.
// Safe to call more than once.
void grShutdown(void);

// Resets GL and library state to the frame baseline; call after the colour
// and stencil buffers are cleared.
void grBeginFrame(void);

// Ends a frame; call before swapping buffers. In batched mode this is where
// the last collected draws reach the GL.
void grEndFrame(void);

// Batched submission, off by default. While on, consecutive draws that need
// the same GL state are collected and sent as one triangle-list draw with a
// colour per vertex; the pixels are exactly those of one draw per part. The
// GL sees a frame's drawing complete at grEndFrame (not before), so read the
// framebuffer only after it. Switching draws what is collected first. The
// setting survives grInit and grShutdown.
void grSetBatching(bool on);
bool grBatching(void);

// ---------------------------------------------------------------------------
// Transforms (modelview matrix)
// ---------------------------------------------------------------------------

// Saves the modelview matrix; a matching grPopMatrix() must be used. The tag
// only labels the pair. Beyond GR_MAX_MATRIX_DEPTH the push is ignored,
// and so is its matching pop.
void grPushMatrix(int tag);
// Restores the matrix of the matching grPushMatrix(). Ignored on an empty stack.
void grPopMatrix(int tag);
// Each multiplies the current matrix on the right: the transform applies to
// what is drawn after it, in the coordinates in force before it.
void grTranslate(int dx, int dy);
// Turns by degrees counter-clockwise about the origin (negative: clockwise).
void grRotate(float degrees);
// Scales by sx along x and sy along y about the origin.
void grScale(float sx, float sy);

// ---------------------------------------------------------------------------
// Drawing state
// ---------------------------------------------------------------------------

// The setters select an entry of their table by index; an index outside the
// table keeps the previous selection and is counted in rejectedIndices.
// A selection lasts across frames until it is changed; only the line
// pattern is forgotten at every grBeginFrame.

// The colour of bodies: lines, outlines, fills and glyphs.
void grSetColor(int index);
// The colour of borders and text plates (GR_MODE_BORDER).
void grSetBorderColor(int index);
// The width of lines, outlines and points.
void grSetLineWidth(int index);
// The width of a border on each side, and the margin of a text plate.
void grSetBorderWidth(int index);
// Selects a dash pattern of the pattern table and binds its texture.
// Mask 0xFFFF draws solid; mask 0 makes outlines invisible. Fills are never
// dashed. The selection is forgotten at every grBeginFrame: select it again
// each frame (a line drawn before any selection in a frame is solid).
void grSetLinePattern(int index);
// The font of grText; checked when text is drawn (an index outside the font
// table draws nothing and is counted in rejectedIndices).
void grSetFont(int index);
// The image of grImage; checked when it is drawn, as fonts are.
void grSetImage(int index);

// Horizontal alignments of grSetTextAlign: where the anchor of grText lies
// along the string.
enum {
    GR_ALIGN_LEFT = 0,    // at the start of the string
    GR_ALIGN_CENTER = 1,  // in the middle of its advance
    GR_ALIGN_RIGHT = 2,   // at its last pixel column
};
// Vertical alignments of grSetTextAlign: where the anchor lies across the
// line of text.
enum {
    GR_ALIGN_BASELINE = 0,  // on the baseline
    GR_ALIGN_TOP = 1,       // on the top row of the font's cell (ascent)
    GR_ALIGN_MIDDLE = 2,    // halfway up the cell
    GR_ALIGN_BOTTOM = 3,    // on the bottom of the cell (descent)
};
// Sets the alignment of the following grText calls, relative to the text's
// own direction when it is turned. If either value is outside its range
// the text is placed as GR_ALIGN_LEFT, GR_ALIGN_BASELINE.
void grSetTextAlign(int horizontal, int vertical);

// The switches of grSetMode.
enum {
    // Multisampling of edges, where the context has samples. Besides, on
    // any context: glyphs are rasterised with grey levels instead of one
    // bit, points are round instead of square, and dash patterns, images
    // and glyphs are filtered linearly. At 0 samples the edges of lines and
    // shapes stay jagged. Off at every grBeginFrame.
    GR_MODE_ANTIALIAS = 0,
    // On: closed shapes (circle, sector, ring, ring sector, rectangle,
    // ellipse) are filled. Off: their outlines are drawn. grPolygon and
    // grTriangleStrip always fill; lines and arcs never do.
    GR_MODE_FILL = 1,
    // On: shapes get a border and text a plate, see the top of this file.
    GR_MODE_BORDER = 2,
};
// Values of a switch.
enum {
    GR_OFF = 0,
    GR_ON = 1,  // any non-zero value is on
};
// Sets one of the GR_MODE_* switches; other values of which are ignored.
// GR_MODE_FILL and GR_MODE_BORDER last until changed, across frames.
//
// Multisampling is a property of the target on OpenGL ES (the es2 and es3
// backends, WebGL): a multisampled target antialiases every primitive there,
// and switching GR_MODE_ANTIALIAS off no longer draws a primitive aliased.
// gl1 and the core backend switch multisampling per primitive.
void grSetMode(int which, int value);

// ---------------------------------------------------------------------------
// Clipping
// ---------------------------------------------------------------------------

// Three mechanisms restrict drawing: a half-plane, a rectangle, and a mask
// in the stencil buffer. A clip is set in the coordinates in force when it
// is set. The mask is cleared at the start of every frame and the stencil
// test is off then; the half-plane and the rectangle stay on across frames
// until switched off.

// Saves the clip state; a matching grPopClip() must be used. Beyond
// GR_MAX_CLIP_DEPTH the push is ignored, and so is its matching pop. The
// mask's contents are not saved.
void grPushClip(int tag);
// Restores the saved clip state and re-applies the first mechanism it had
// on (half-plane, else rectangle, else mask); the others are switched off.
// Ignored on an empty stack.
void grPopClip(int tag);

// The operations of grClipOp. The mask operations (GR_CLIP_INSIDE_MASK to
// GR_CLIP_MASK_CUT) switch the half-plane and the rectangle off.
enum {
    GR_CLIP_OFF = 0,              // no clipping: everything is switched off
    GR_CLIP_INSIDE_MASK = 1,      // draw only where the mask is set
    GR_CLIP_OUTSIDE_MASK = 2,     // draw only where the mask is not set
    // Clears the mask and starts writing it: what is drawn next sets the
    // mask where it covers and puts no colour on the screen.
    GR_CLIP_MASK_START = 3,
    // Writes the mask without clearing it: what is drawn next is added to
    // the mask (the mask is empty at the start of a frame), no colour shows.
    GR_CLIP_MASK_ADD = 4,
    // What is drawn next is cut out of the mask; no colour shows.
    GR_CLIP_MASK_CUT = 5,
    // Switch the rectangle and the mask off, or the half-plane and the
    // mask: to leave a half-plane or a rectangle set over a mask alone.
    // The half-plane and the rectangle share a clip plane: with both on,
    // GR_CLIP_HALF_PLANE_ONLY switches both off and GR_CLIP_RECT_ONLY leaves
    // the rectangle without its left edge. Use one of them at a time.
    GR_CLIP_HALF_PLANE_ONLY = 6,
    GR_CLIP_RECT_ONLY = 7,
};
// Performs one GR_CLIP_* operation; other values do nothing. While the mask
// is written (GR_CLIP_MASK_START, _ADD, _CUT) nothing drawn reaches the
// screen: end writing with GR_CLIP_INSIDE_MASK, GR_CLIP_OUTSIDE_MASK,
// GR_CLIP_OFF or a grPopClip.
void grClipOp(int op);

// The sides of grClipHalfPlane: which side of the line is kept. The line's
// own pixels are clipped away on every side.
enum {
    GR_KEEP_RIGHT = 0,  // x >= value + 0.5
    GR_KEEP_LEFT = 1,   // x <= value - 0.5
    GR_KEEP_BELOW = 2,  // y <= value - 0.5
    GR_KEEP_ABOVE = 3,  // y >= value + 0.5
};
// Keeps one side of the vertical line x = value (GR_KEEP_RIGHT,
// GR_KEEP_LEFT) or the horizontal line y = value (GR_KEEP_BELOW,
// GR_KEEP_ABOVE); another side is refused and counted in rejectedShapes.
// The mask stays in force; an active rectangle loses its left edge to the
// half-plane (see GR_CLIP_HALF_PLANE_ONLY).
void grClipHalfPlane(int side, int value);
// Keeps x1 + 0.5 <= x <= x2 - 0.5 and y1 + 0.5 <= y <= y2 - 0.5 (the pixels
// strictly between the corners); the corners may come in either order.
// Replaces an active half-plane; the mask stays in force.
void grClipRect(int x1, int y1, int x2, int y2);

// ---------------------------------------------------------------------------
// Primitives
// ---------------------------------------------------------------------------

// Lines, arcs, curves and outlines use the colour, the line width, the dash
// pattern and, with GR_MODE_BORDER, the border colour and width; fills use
// the colour and the border (see the top of this file). Angles start at the
// positive x axis; a sweep turns counter-clockwise when positive and
// clockwise when negative, and is clamped to a full turn. A shape with a
// zero or negative radius or size draws nothing; a NaN or infinite radius
// or angle draws nothing and is counted in rejectedShapes.

// A dot of the line width centred on the point: square, or round while
// GR_MODE_ANTIALIAS is on.
void grPoint(int x, int y);
// A line covering the first point's pixel and stopping short of the
// second's, so that consecutive lines never cover a pixel twice.
void grLine(int x1, int y1, int x2, int y2);
// Draws count - 1 segments; the dash pattern runs on across the corners.
void grPolyline(const GrPoint* points, int count);
// The arc of radius r from startDeg over sweepDeg (negative: clockwise).
void grArc(int cx, int cy, int r, float startDeg, float sweepDeg);
// Bézier curve of count (2..8) control points sampled at segments (>= 2).
void grBezier(const GrPoint* points, int count, int segments);
// Filled disc or outline by GR_MODE_FILL.
void grCircle(int cx, int cy, int r);
// A pie slice from startDeg over sweepDeg (negative: clockwise): filled, or
// its two radii and arc as one outline. A sweep of a full turn or more is a
// whole disc, without radii.
void grSector(int cx, int cy, int r, float startDeg, float sweepDeg);
// The band between the two radii (innerR <= outerR; innerR 0 is a disc),
// filled, or its two circles as outlines.
void grRing(int cx, int cy, int outerR, int innerR);
// The part of the ring from startDeg over sweepDeg (negative: clockwise),
// filled, or its two arcs and two radial edges as an outline.
void grRingSector(int cx, int cy, int outerR, int innerR, float startDeg, float sweepDeg);
// The rectangle between two corners, in either order, filled or outlined.
// Its far edges are exclusive: it covers the pixels from min(x1, x2) to
// max(x1, x2) - 1 and from min(y1, y2) to max(y1, y2) - 1, so
// grRect(0, 0, w, h) paints exactly w by h pixels. The outline lies on the
// outermost pixels of that area. Equal x or equal y draws nothing.
void grRect(int x1, int y1, int x2, int y2);
// Filled convex polygon, drawn as a fan from the first point, whatever
// GR_MODE_FILL says; with GR_MODE_BORDER its edges get a border.
void grPolygon(const GrPoint* points, int count);
// Filled triangle strip (points 0 1 2, 1 2 3, ...), as grPolygon.
void grTriangleStrip(const GrPoint* points, int count);
// Axis-aligned ellipse of radii rx and ry, filled or outlined.
void grEllipse(int cx, int cy, int rx, int ry);
// Draws text (UTF-16) in the font of grSetFont and the colour of
// grSetColor, turned by angleDeg about the anchor (x, y), which the
// alignment of grSetTextAlign places on the string. With GR_MODE_BORDER on,
// the text lies on a plate of the border colour covering its advance and
// the font's cell with a margin of the border width on every side. Glyphs
// are rasterised once per font and switch (GR_MODE_ANTIALIAS) and kept.
void grText(int x, int y, float angleDeg, const char16_t* text);
// Draws the image of grSetImage with its lower left corner at (x, y), one
// texel a pixel at scale 1, in its own colours (not tinted), transparent
// where its alpha or the colour key says so.
void grImage(int x, int y);

// ---------------------------------------------------------------------------
// Hit-testing, for a display's event entry
// ---------------------------------------------------------------------------

// Each takes a point in the display's units, as events carry it, and asks
// whether it lies on a shape given in the current coordinates: those the
// matrix set by grTranslate, grRotate and grScale since the last
// grPushMatrix is in, so that a display sets up the transform it draws an
// instrument with and hit-tests in the instrument's own units. Edges count
// as inside. False for a matrix that cannot be undone (a scale by 0).

// Maps the point into the current coordinates.
bool grToLocal(float x, float y, float* localX, float* localY);
// The rectangle between corners (x1, y1) and (x2, y2), as grRect takes them.
bool grHitRect(float x, float y, int x1, int y1, int x2, int y2);
// The disc of radius r about (cx, cy).
bool grHitCircle(float x, float y, int cx, int cy, int r);
// The polygon of count points (closed, even-odd rule as grPolygon fills).
bool grHitPolygon(float x, float y, const GrPoint* points, int count);

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

GrDiagnostics grDiagnostics(void);
void grResetDiagnostics(void);

// Running totals of the library's work, for benchmarks: compare two readings.
struct GrCounters {
    long long draws;           // glDrawArrays calls
    long long vertices;        // vertices those draws carried
    long long glyphsBuilt;     // glyphs rasterised into an atlas
    long long textureUploads;  // glTexImage and glTexSubImage calls
};

GrCounters grCounters(void);

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
int grRand(void);

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
// The angle of the point (x, y) from the +x axis, counter-clockwise, in
// -180..180 degrees (radians): where a pointer lies around a dial's centre.
float grAtan2Deg(float y, float x);
float grAtan2(float y, float x);
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

#ifdef __cplusplus
}  // extern "C"
#endif
