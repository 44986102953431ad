// The two shipped models: the fish and the sea floor.
#pragma once

#include "ModelText.h"

namespace tavren {

ModelText BuildFishModel();
ModelText BuildTerrainModel();

} // namespace tavren
