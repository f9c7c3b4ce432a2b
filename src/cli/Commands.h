#pragma once

#include <ostream>
#include <string>

#include "cli/Request.h"

namespace talvo {

// The commands of the command line. Each raises with its message on a failure: EMisuse for what
// is a mistyped command line after all, EFailed or the reader's own error otherwise. What a load
// that went well still tells (tiles a mosaic set aside) goes to Err.

// The information window's fields of the map at Path, and what its cells hold.
void PrintInfo(const std::string& Path, std::ostream& Out, std::ostream& Err);
// --render FILE -o OUT: the picture the viewer would draw; progress on Err when it is a terminal.
void Render(const TRequest& Request, std::ostream& Err);
// --export FILE -o OUT.tif: the cells as a Cloud Optimized GeoTIFF.
void Export(const TRequest& Request, std::ostream& Err);
// --render or --export with -o DIR/: every tile; returns the exit status.
int Batch(const TRequest& Request, std::ostream& Out, std::ostream& Err);
// --mesh: the region's terrain as an OBJ.
void Mesh(const TRequest& Request, std::ostream& Err);
// --at FILE POINT: the cell under a point.
void PrintAt(const TRequest& Request, std::ostream& Out, std::ostream& Err);
// --profile: the heights along a line as CSV.
void Profile(const TRequest& Request, std::ostream& Out, std::ostream& Err);

} // namespace talvo
