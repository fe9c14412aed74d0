#pragma once
// TEXT: a point after the justification (the start point by default; Justifier chooses another, kept as
// TEXTJUSTIFY for the next text, and Style one of the drawing's text styles, kept as its TEXTSTYLE), the
// height when the style has none (the height typed becomes the drawing's TEXTSIZE), the angle, one line of
// text. Aligné and Fixé take both ends of the baseline instead of the point and the angle: an aligned text
// takes the height that spans them, a fitted one its width.
namespace host {

void textCommand();

} // namespace host
