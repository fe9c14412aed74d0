#pragma once
// Registers every class of the host, so that drawing files can create objects by class or DXF name before
// any object of that class was made in code.
namespace host {
void registerHostClasses();
}
