// Another process's GDI objects, read from its handle table, which its PEB
// points to: Wine 8's GetGuiResources is a stub.
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>

struct GdiObjects {
    std::map<std::string, int> kinds;  // "brush", "font", ...; "stock" for the system's stock objects
    int own = -1;  // what the program made: all but stock objects and Wine's cache of window DCs
    std::set<unsigned> brushes;  // the handles of its brushes
};
// own is -1 and kinds empty when the table cannot be read.
GdiObjects GdiObjectsOf(HANDLE process);
