#pragma once

// The program's own folder, ending with the path separator: where drovak.ini is written and
// where the shipped files (help pages, mail templates) are found.
const char* getDrovakPath();
void setDrovakPath(const char* folder);
