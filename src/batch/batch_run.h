#pragma once

#include "batch/batch_options.h"
#include "correlation/photograph_source.h"
#include "io/file_store.h"
#include "model/number_text.h"

#include <ostream>

namespace ai::batch {

inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

// Runs the steps the options ask for, in this order: read, grid, automatic mesher,
// correlation, study, outputs, save; for a sequence of loaded photographs, the study, outputs
// and save once per load step, into files named by step, then the history. After reading,
// the counts go to `errors` as the window's message box gives them, and after the
// correlation its counts (per step for a sequence); a refusal goes there too and ends the
// run. Outputs are made in memory first and each file is replaced atomically, so none is
// ever left half-written. Needs a QGuiApplication for the map's picture. Returns the exit
// status.
int runBatch(const Options& options, const NumberFormat& format, FileStore& files,
             PhotographSource& photographs, std::ostream& errors);

} // namespace ai::batch
