#pragma once

#include "imposition/impose.h"
#include "imposition/search.h"

namespace korvane::imposition::reference {

// The mixed searches scanned literally, every cut and every row count, with strict
// comparisons. Slow; used to check the fast searches on inputs small enough to scan.
MixedChoice scanMixed(const Geometry &g);
BandChoice scanBands(const Geometry &g, Method method);

} // namespace korvane::imposition::reference
