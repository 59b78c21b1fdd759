// Reading another process's GDI handle table.
#include "gdi_objects.h"

#include <winternl.h>

#include <cstdio>
#include <vector>

namespace {

// One entry of the table, laid out as on 64-bit Windows: Wine keeps that
// layout in 32-bit processes too.
#pragma pack(push, 1)
struct GdiHandleEntry {
    unsigned long long object;
    unsigned int owner;
    unsigned short unique;
    unsigned char type;
    unsigned char flags;
    unsigned long long userPointer;
};
#pragma pack(pop)
static_assert(sizeof(GdiHandleEntry) == 24, "a handle table entry is 24 bytes");

size_t const GdiHandleCount = 0x10000;
// GdiSharedHandleTable in the PEB of a process of the driver's own build.
#ifdef _WIN64
size_t const PebGdiTableOffset = 0xF8;
#else
size_t const PebGdiTableOffset = 0x94;
#endif
unsigned const GdiStockFlag = 0x80;

// The kind is the low byte of an entry's unique value, as Wine 8 numbers them
// (a bitmap is 0x09 there, not 0x05 as on Windows).
std::string GdiKindName(unsigned kind)
{
    switch (kind) {
    case 0x01:
        return "dc";
    case 0x04:
        return "region";
    case 0x08:
        return "palette";
    case 0x09:
        return "bitmap";
    case 0x0a:
        return "font";
    case 0x10:
        return "brush";
    case 0x21:
        return "enhmetadc";
    case 0x26:
        return "metafile";
    case 0x30:
        return "pen";
    case 0x41:
        return "memorydc";
    case 0x46:
        return "enhmetafile";
    case 0x50:
        return "extpen";
    case 0x66:
        return "metadc";
    }
    char name[16];
    snprintf(name, sizeof name, "kind%02x", kind);
    return name;
}

// Window DCs (0x01), their regions (0x04) and a kind that comes one to a DC
// (0x05): Wine's cache of window DCs adds these in step, up to its size.
bool IsWindowDcKind(unsigned kind)
{
    return kind == 0x01 || kind == 0x04 || kind == 0x05;
}

}  // namespace

GdiObjects GdiObjectsOf(HANDLE process)
{
    GdiObjects objects;
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG length = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0) return objects;
    ULONG_PTR table = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + PebGdiTableOffset, &table,
                           sizeof table, NULL) ||
        table == 0)
        return objects;
    std::vector<GdiHandleEntry> entries(GdiHandleCount);
    if (!ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.data(),
                           entries.size() * sizeof(GdiHandleEntry), NULL))
        return objects;
    objects.own = 0;
    for (size_t index = 0; index < entries.size(); ++index) {
        const GdiHandleEntry& entry = entries[index];
        if (entry.type == 0) continue;
        unsigned const kind = entry.unique & 0xff;
        std::string const name = kind & GdiStockFlag ? "stock" : GdiKindName(kind);
        ++objects.kinds[name];
        if (!(kind & GdiStockFlag) && !IsWindowDcKind(kind)) ++objects.own;
        // A handle is its table index with the entry's unique value above it.
        if (name == "brush") objects.brushes.insert(static_cast<unsigned>(index) | (unsigned(entry.unique) << 16));
    }
    return objects;
}
