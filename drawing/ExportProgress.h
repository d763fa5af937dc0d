#pragma once

#include "cutting/ExportJob.h"
#include "cutting/RibVectors.h"

#include <QString>

#include <vector>

class QWidget;

// Builds the ribs of many templates a few at a time under a progress
// dialog that can be cancelled. A cancel gives false with an empty error:
// nothing is written then. Few templates are built at once, with no dialog.
bool buildRibsShowingProgress(QWidget *parent, ProfileStore &store, const ExportJob::Picks &picks,
                              int smoothing, const RibVectors::LayerSet &layers,
                              std::vector<RibVectors::Rib> *ribs, QString *error);
