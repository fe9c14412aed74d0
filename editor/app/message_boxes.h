#pragma once
// The program's message boxes: Qt boxes in front of every window (topmost). With ZORTA_MESSAGEBOX_ANSWER set
// the platform's default stays, which answers at once and writes the box to standard error, so scripted runs
// never block.
void installMessageBoxes();
