#pragma once
// The meanings of the trace bits `pvDeb` of the general record, as the editor's trace dialog shows them;
// the list ends with an empty text.
extern const char* const g_DebugInfos[];
