#pragma once

#include <string>

#include "model/LoadedMap.h"

namespace talvo {

// How a file opened, and so what the window or the command line does next.
enum class TOpenOutcome {
    Loaded,           // the map is read: draw it
    HeaderOnly,       // the header is read, but its cells are under one byte: nothing to draw
    CompanionMissing, // the map's other file is missing: the map is cleared, Message tells why
};

// What a reader returns: the new map and how it went. Failures are raised instead.
struct TOpenedMap {
    TOpenOutcome Outcome = TOpenOutcome::Loaded;
    TLoadedMap Map;
    std::string Message;
    // What a load that went well still tells (the older tiles a mosaic set aside); "" for nothing.
    std::string Note = {}; // readers that tell nothing leave it out
};

} // namespace talvo
