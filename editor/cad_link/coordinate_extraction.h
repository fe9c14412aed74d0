#pragma once
// Surveyed coordinates read out of one line of a listing, as the text typed to answer a CAD point prompt:
// "X,Y" or "X,Y,Z" with two decimals and a point as decimal separator, whatever the locale.
#include <string>
#include <string_view>

class QPlainTextEdit;

// The coordinates of `lineText` (empty when it holds fewer than two numbers). Without a marker ("X,Y,Z",
// "XYZ", "X,Y", "XY", "X=", "X =") the numbers start at the one under `column`, which is held to the line;
// `column` is left as it came.
std::string ExtractCoordinates(std::string_view lineText, int column);

// The view's line `line` (the caret's line when negative, and `line` is set to it; the caret is the start of
// the selection); `column` negative means
// the caret's column, and is set to it when the line has no marker.
void ExtractCoordinates(const QPlainTextEdit& view, std::string& out, int& line, int& column);
