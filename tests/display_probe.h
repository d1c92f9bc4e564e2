// Compiled in front of a display's sources (-include) by the coverage test:
// every drawing entry point of gr.h becomes a call that tells the probe its
// name, and for text its angle, before and after the real call.
#pragma once

#include "gr.h"

void probeEnter(const char* name, float angle, int argument);
void probeLeave();
#define grPushMatrix(...) (probeEnter("grPushMatrix", 0.0f, 0), grPushMatrix(__VA_ARGS__), probeLeave())
#define grPopMatrix(...) (probeEnter("grPopMatrix", 0.0f, 0), grPopMatrix(__VA_ARGS__), probeLeave())
#define grTranslate(...) (probeEnter("grTranslate", 0.0f, 0), grTranslate(__VA_ARGS__), probeLeave())
#define grRotate(...) (probeEnter("grRotate", 0.0f, 0), grRotate(__VA_ARGS__), probeLeave())
#define grScale(...) (probeEnter("grScale", 0.0f, 0), grScale(__VA_ARGS__), probeLeave())
#define grSetColor(...) (probeEnter("grSetColor", 0.0f, 0), grSetColor(__VA_ARGS__), probeLeave())
#define grSetBorderColor(...) (probeEnter("grSetBorderColor", 0.0f, 0), grSetBorderColor(__VA_ARGS__), probeLeave())
#define grSetLineWidth(...) (probeEnter("grSetLineWidth", 0.0f, 0), grSetLineWidth(__VA_ARGS__), probeLeave())
#define grSetBorderWidth(...) (probeEnter("grSetBorderWidth", 0.0f, 0), grSetBorderWidth(__VA_ARGS__), probeLeave())
#define grSetLinePattern(...) (probeEnter("grSetLinePattern", 0.0f, 0), grSetLinePattern(__VA_ARGS__), probeLeave())
#define grSetFont(...) (probeEnter("grSetFont", 0.0f, 0), grSetFont(__VA_ARGS__), probeLeave())
#define grSetImage(...) (probeEnter("grSetImage", 0.0f, 0), grSetImage(__VA_ARGS__), probeLeave())
#define grSetTextAlign(...) (probeEnter("grSetTextAlign", 0.0f, 0), grSetTextAlign(__VA_ARGS__), probeLeave())
#define grSetMode(which, value) (probeEnter("grSetMode", 0.0f, (which)), grSetMode(which, value), probeLeave())
#define grPushClip(...) (probeEnter("grPushClip", 0.0f, 0), grPushClip(__VA_ARGS__), probeLeave())
#define grPopClip(...) (probeEnter("grPopClip", 0.0f, 0), grPopClip(__VA_ARGS__), probeLeave())
#define grClipOp(op) (probeEnter("grClipOp", 0.0f, (op)), grClipOp(op), probeLeave())
#define grClipHalfPlane(...) (probeEnter("grClipHalfPlane", 0.0f, 0), grClipHalfPlane(__VA_ARGS__), probeLeave())
#define grClipRect(...) (probeEnter("grClipRect", 0.0f, 0), grClipRect(__VA_ARGS__), probeLeave())
#define grPoint(...) (probeEnter("grPoint", 0.0f, 0), grPoint(__VA_ARGS__), probeLeave())
#define grLine(...) (probeEnter("grLine", 0.0f, 0), grLine(__VA_ARGS__), probeLeave())
#define grPolyline(...) (probeEnter("grPolyline", 0.0f, 0), grPolyline(__VA_ARGS__), probeLeave())
#define grArc(...) (probeEnter("grArc", 0.0f, 0), grArc(__VA_ARGS__), probeLeave())
#define grBezier(...) (probeEnter("grBezier", 0.0f, 0), grBezier(__VA_ARGS__), probeLeave())
#define grCircle(...) (probeEnter("grCircle", 0.0f, 0), grCircle(__VA_ARGS__), probeLeave())
#define grSector(...) (probeEnter("grSector", 0.0f, 0), grSector(__VA_ARGS__), probeLeave())
#define grRing(...) (probeEnter("grRing", 0.0f, 0), grRing(__VA_ARGS__), probeLeave())
#define grRingSector(...) (probeEnter("grRingSector", 0.0f, 0), grRingSector(__VA_ARGS__), probeLeave())
#define grRect(...) (probeEnter("grRect", 0.0f, 0), grRect(__VA_ARGS__), probeLeave())
#define grPolygon(...) (probeEnter("grPolygon", 0.0f, 0), grPolygon(__VA_ARGS__), probeLeave())
#define grTriangleStrip(...) (probeEnter("grTriangleStrip", 0.0f, 0), grTriangleStrip(__VA_ARGS__), probeLeave())
#define grEllipse(...) (probeEnter("grEllipse", 0.0f, 0), grEllipse(__VA_ARGS__), probeLeave())
#define grText(x, y, angle, text) (probeEnter("grText", (angle), 0), grText(x, y, angle, text), probeLeave())
#define grImage(...) (probeEnter("grImage", 0.0f, 0), grImage(__VA_ARGS__), probeLeave())
