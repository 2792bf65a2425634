// The entry of libkorvane_media.so: the table of the incident tools built into it.
#include "incident/MediaToolsEntries.h"

extern "C" __attribute__((visibility("default"))) const MediaToolsEntries* korvane_media_tools()
{
    static const MediaToolsEntries entries { &ProbeMedia, &ClipCutter::cut, &GrabFrame, &packagezip::crc32,
        &packagezip::begin, &packagezip::write, &packagemanifest::sha256OfFile, &packagemanifest::sha256,
        &packagemanifest::write, &packagemanifest::verify };
    return &entries;
}
