#pragma once
// The printer that prints without asking: the system's default printer, else the one the environment
// variable ZORTA_PRINTER names; a name ending in ".pdf" is a PDF file written in its place.
#include <optional>
#include <string>

class QPrinter;

std::optional<std::string> defaultPrinterName();
// Points `printer` at the default printer; false when there is none.
bool useDefaultPrinter(QPrinter& printer);
