#pragma once

#include "analysis/map_styles.h"
#include "mesh/region_grid.h"
#include "mesh/structured_grid.h"
#include "model/project_state.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ai::batch {

// A grid over a rectangle of the free photograph, in pixels.
struct GridRegion {
    PixelRegion region;
    int step = 1;
};

// What the command line asks for. Empty file names mean "not asked".
struct Options {
    std::string meshFile;
    std::string pointsFile;              // --points, in place of a mesh file
    std::optional<char> decimal;         // --decimal; else the system's
    std::optional<GridBars> grid;        // --grid
    std::optional<GridRegion> region;    // --grid-region
    std::optional<int> automeshDistance; // --automesh
    std::optional<Component> study;      // --study
    bool planeStress = false;            // --plane-stress; plane strain by default
    std::string young = "1";             // --young, either separator
    std::string poisson = "0.47";        // --poisson, either separator
    std::string nodesCsv;
    std::string elementsCsv;
    std::string mapPng;
    std::string mapSvg;                   // --map-svg, the same map as SVG
    MapStyle mapStyle = MapStyle::Points; // --map-style
    std::string report;                   // --report, the study's report as PDF
    std::string sdMapPng;                 // --sd-map-png, the map of the standard deviations
    std::string image;                    // --image, the map's background
    std::string save;
    std::string freeImage; // --free-image, also the map's background without --image
    // --loaded-image, given once per load step, in order
    std::vector<std::string> loadedImages;
    bool correlate = false;           // --correlate: loaded positions found on the photographs
    int subset = 31;                  // --subset, pixels, odd
    int search = 20;                  // --search, whole pixels
    std::string historyCsv;           // --history-csv, one line per load step
    std::optional<PixelRegion> gauge; // --gauge, pixels of the free photograph
};

// The command line read, or why it cannot be (in French), or a request for help.
struct CommandLine {
    std::optional<Options> options;
    std::string error;
    bool help = false;
};

// Reads the arguments after the program's name. Every option but --loaded-image may be
// given once; values
// are checked against the ranges of the window's scroll bars.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The help text: the interface and the exit statuses.
extern const std::string_view kUsage;

} // namespace ai::batch
