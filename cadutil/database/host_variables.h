#pragma once
// The host's system variables as the plug-in reads and writes them, and what it derives from them: the
// drawing units per screen pixel and the zone name.
#include <string>

#include "host/db/resbuf.h"

// acedGetVar / acedSetVar; the host's result code.
int getVar(const char* name, resbuf* value);
// A text value is read as a number; its buffer is freed.
int getVarReal(const char* name, double* value);
int setVarReal(const char* name, double value);
int setVarShort(const char* name, short value);
// Sets the running object snap mode; answers the one it replaces.
int swapOsmode(int osmode);

// The value of a variable read into `rb` as an integer (a text is read as a number and its buffer freed);
// RTNORM.
int rbToInt(int* value, resbuf* rb);
// The text of `rb` (empty when it holds none), its buffer freed; RTNORM.
int rbTakeString(std::wstring& text, resbuf* rb);

// What the view last showed: drawing units per pixel and VIEWSIZE.
struct ViewMetrics {
    double unitsPerPixel = 0;
    double viewSize = 0;
};
extern ViewMetrics g_viewMetrics;
// VIEWSIZE (a failed read keeps the last one) over the screen height in pixels; kept and answered.
double getPixelSize();
// The zone name: the override of the variable block when it is not empty, else the other family's.
const char* getZoneName();
